#pragma once

#include <QStringList>

class QWidget;

namespace kv820::test {

// The visible controls of the shown `window` that a mouse click at their own centre would
// not reach: for each, "control -> widget found there instead". A control is reached when
// QApplication::widgetAt finds it, or a child of it, at its centre, after the scroll areas
// around it have been scrolled to show that centre. Plain containers
// (frames, group boxes, pages) are not controls; a control may lie on them.
QStringList unreachableControls(QWidget* window);

// The visible controls of the shown `window` drawn smaller than their text: a label or
// button narrower or lower than its minimum size hint, a line edit lower than its own or
// too narrow for the text it holds.
QStringList clippedControls(QWidget* window);

}  // namespace kv820::test
