#include "support/qt/keyboard_check.h"

#include "app/common/mnemonics.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kv820::test {

namespace {

bool shown(const QWidget* widget, const QWidget* window) {
    return widget->window() == window && widget->isVisible();
}

// Texts that take Alt+letter in `window`, with what owns each.
QList<QPair<QString, QString>> mnemonicTexts(QWidget* window) {
    QList<QPair<QString, QString>> texts;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        // A buddy the keyboard cannot focus (a value shown as text) needs no mnemonic.
        if (shown(label, window) && label->buddy() != nullptr &&
            (label->buddy()->focusPolicy() & Qt::TabFocus) != 0) {
            texts.append({label->text(), QStringLiteral("label")});
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (shown(button, window)) {
            texts.append({button->text(), QStringLiteral("button")});
        }
    }
    for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
        if (shown(group, window)) {
            texts.append({group->title(), QStringLiteral("group")});
        }
    }
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (QAction* title : bar->actions()) {
            texts.append({title->text(), QStringLiteral("menu")});
        }
    }
    return texts;
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

}  // namespace

QStringList keyboardFaults(QWidget* window) {
    QStringList faults;
    QMap<QChar, QString> owners;
    for (const auto& [text, kind] : mnemonicTexts(window)) {
        const QChar letter = mnemonicOf(text);
        if (letter.isNull()) {
            if (kind == QStringLiteral("label") || kind == QStringLiteral("menu")) {
                faults << QStringLiteral("no mnemonic: %1 \"%2\"").arg(kind, text);
            }
            continue;
        }
        if (owners.contains(letter)) {
            faults << QStringLiteral("Alt+%1 twice: \"%2\" and \"%3\"")
                          .arg(letter.toUpper(), owners.value(letter), text);
        }
        owners.insert(letter, text);
    }
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool listOrLog =
            (qobject_cast<QAbstractItemView*>(widget) && !qobject_cast<QHeaderView*>(widget)) ||
            qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget);
        if (listOrLog && shown(widget, window) && accessibleName(widget).isEmpty()) {
            faults << QStringLiteral("no accessible name: %1(%2)")
                          .arg(QString::fromLatin1(widget->metaObject()->className()),
                               widget->objectName());
        }
    }
    return faults;
}

}  // namespace kv820::test
