#include "support/qt/widget_hit_test.h"

#include <QApplication>
#include <QGroupBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace kv820::test {

namespace {

bool IsContainer(const QWidget* widget) {
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QStackedWidget*>(widget) ||
           qobject_cast<const QTabWidget*>(widget) || widget->isWindow();
}

bool IsClickable(const QWidget* widget) {
    return widget->isVisible() && !widget->rect().isEmpty() && !IsContainer(widget) &&
           !widget->testAttribute(Qt::WA_TransparentForMouseEvents);
}

QString Describe(const QWidget* widget) {
    if (widget == nullptr) {
        return QStringLiteral("nothing");
    }
    const QString name = widget->objectName();
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(widget->metaObject()->className()),
                                        name);
}

}  // namespace

QStringList UnreachableControls(QWidget* window) {
    QStringList unreachable;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !IsClickable(control)) {
            continue;
        }
        const QPoint centre = control->mapToGlobal(control->rect().center());
        QWidget* found = QApplication::widgetAt(centre);
        if (found != control && !control->isAncestorOf(found)) {
            unreachable << Describe(control) + " -> " + Describe(found);
        }
    }
    return unreachable;
}

}  // namespace kv820::test
