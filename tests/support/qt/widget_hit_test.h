#pragma once

#include <QStringList>

class QWidget;

namespace kv820::test {

// The visible controls of the shown `window` that a mouse click at their own centre would
// not reach: for each, "control -> widget found there instead". A control is reached when
// QApplication::widgetAt finds it, or a child of it, at its centre. Plain containers
// (frames, group boxes, pages) are not controls; a control may lie on them.
QStringList UnreachableControls(QWidget* window);

}  // namespace kv820::test
