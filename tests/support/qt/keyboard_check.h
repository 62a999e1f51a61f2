#pragma once

#include <QStringList>

class QLabel;
class QWidget;

namespace kv820::test {

// What keeps a keyboard-only operator from the shown `window`: a visible label with a buddy
// that takes the focus but no mnemonic, a mnemonic used twice among the visible labels, buttons and menu titles
// (Alt+letter would reach neither), a visible list or log without an accessible name.
QStringList KeyboardFaults(QWidget* window);

// The text `label` shows: its text without the mnemonic's '&' ("&&" shows as "&").
QString ShownText(const QLabel* label);

}  // namespace kv820::test
