#pragma once

#include <QStringList>

class QWidget;

namespace kv820::test {

// What keeps a keyboard-only operator from the shown `window`: a visible label with a buddy
// that takes the focus but no mnemonic, a mnemonic used twice among the visible labels, buttons and
// menu titles (Alt+letter would reach neither), a visible list or log without an accessible name.
QStringList keyboardFaults(QWidget* window);

}  // namespace kv820::test
