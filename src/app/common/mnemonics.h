#pragma once

#include <QChar>
#include <QString>

#include <QList>
#include <QString>

class QAction;
class QWidget;

namespace kv820 {

// Gives every label of `scope` whose buddy takes the keyboard focus a mnemonic (Alt+letter moves
// the focus to the buddy) that no other text of the scope and none of `taken` uses, preferring the
// first letters of words; the shown text only gains the underline. The pages of a tab widget inside
// the scope get theirs per page (they are never shown together), on top of the scope's own. Returns
// `taken` with the letters the scope itself now uses.
QString assignMnemonics(QWidget* scope, const QString& taken = {});

// The letter after a single '&' of a text ("&&" is a plain ampersand), lower case; a null
// character when there is none.
QChar mnemonicOf(const QString& text);

// The mnemonic letters of `actions` (the menu bar's titles), lower case.
QString mnemonicLetters(const QList<QAction*>& actions);

}  // namespace kv820
