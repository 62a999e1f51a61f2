#include "support/qt/widget_hit_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QWidget>

namespace kv820::test {

namespace {

bool isContainer(const QWidget* widget) {
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QStackedWidget*>(widget) ||
           qobject_cast<const QTabWidget*>(widget) || widget->isWindow();
}

bool isClickable(const QWidget* widget) {
    return widget->isVisible() && !widget->rect().isEmpty() && !isContainer(widget) &&
           !widget->testAttribute(Qt::WA_TransparentForMouseEvents);
}

QString describe(const QWidget* widget) {
    if (widget == nullptr) {
        return QStringLiteral("nothing");
    }
    const QString name = widget->objectName();
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(widget->metaObject()->className()),
                                        name);
}

// The width a line edit has for its text: its contents less the margin it keeps either side.
int textRoom(const QLineEdit* edit) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit).width() - 4;
}

bool isClipped(const QWidget* widget) {
    const QSize least = widget->minimumSizeHint();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        // A frameless edit lives inside another control (a spin box) that gives its height.
        return (edit->hasFrame() && widget->height() < least.height()) ||
               edit->fontMetrics().horizontalAdvance(edit->text()) > textRoom(edit);
    }
    const bool showsText =
        qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget);
    return showsText && least.isValid() &&
           (widget->width() < least.width() || widget->height() < least.height());
}

// Scrolls every scroll area around `control` until the control's centre shows, as an
// operator would before clicking it.
void scrollToCentreOf(QWidget* control) {
    constexpr int Margin = 4;
    for (QWidget* w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(w);
        // Its own scroll bars lie outside what it scrolls.
        if (area && area->widget() && area->widget()->isAncestorOf(control)) {
            const QPoint centre = control->mapTo(area->widget(), control->rect().center());
            area->ensureVisible(centre.x(), centre.y(), Margin, Margin);
        }
    }
}

}  // namespace

QStringList clippedControls(QWidget* window) {
    QStringList clipped;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() == window && control->isVisible() && isClipped(control)) {
            clipped << describe(control);
        }
    }
    return clipped;
}

QStringList unreachableControls(QWidget* window) {
    QStringList unreachable;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !isClickable(control)) {
            continue;
        }
        scrollToCentreOf(control);
        const QPoint centre = control->mapToGlobal(control->rect().center());
        QWidget* found = QApplication::widgetAt(centre);
        if (found != control && !control->isAncestorOf(found)) {
            unreachable << describe(control) + " -> " + describe(found);
        }
    }
    return unreachable;
}

}  // namespace kv820::test
