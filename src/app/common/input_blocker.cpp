#include "app/common/input_blocker.h"

#include <QApplication>
#include <QEvent>

namespace kv820 {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputBlocker::InputBlocker(QObject* parent) : QObject(parent) {}

InputBlocker::~InputBlocker() {
    release();
}

void InputBlocker::block(QWidget* window) {
    if (blocking_ || window == nullptr) {
        return;
    }
    window_ = window;
    blocking_ = true;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

void InputBlocker::release() {
    if (!blocking_) {
        return;
    }
    blocking_ = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    window_.clear();
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()) || !window_) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget->window() == window_;
}

}  // namespace kv820
