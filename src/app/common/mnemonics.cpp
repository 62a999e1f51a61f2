#include "app/common/mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <algorithm>

namespace kv820 {

namespace {

bool insideNestedTab(const QWidget* widget, const QWidget* scope) {
    for (const QWidget* w = widget->parentWidget(); w != nullptr && w != scope;
         w = w->parentWidget()) {
        if (qobject_cast<const QTabWidget*>(w)) {
            return true;
        }
    }
    return false;
}

// Where the mnemonic of `text` goes: the first free word-initial letter, else the first
// free letter or digit; -1 when every one is taken.
qsizetype mnemonicPosition(const QString& text, const QString& taken) {
    qsizetype anyFree = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isLetterOrNumber() || taken.contains(c.toLower())) {
            continue;
        }
        if (i == 0 || !text[i - 1].isLetterOrNumber()) {
            return i;
        }
        if (anyFree < 0) {
            anyFree = i;
        }
    }
    return anyFree;
}

QString mnemonicsInUse(QWidget* scope) {
    QString used;
    const auto note = [&](const QString& text) {
        if (const QChar c = mnemonicOf(text); !c.isNull()) {
            used += c;
        }
    };
    for (QLabel* label : scope->findChildren<QLabel*>()) {
        note(label->text());
    }
    for (QAbstractButton* button : scope->findChildren<QAbstractButton*>()) {
        note(button->text());
    }
    for (QGroupBox* group : scope->findChildren<QGroupBox*>()) {
        note(group->title());
    }
    return used;
}

int distinctLetters(const QString& text) {
    QString seen;
    for (const QChar c : text) {
        if (c.isLetterOrNumber() && !seen.contains(c.toLower())) {
            seen += c.toLower();
        }
    }
    return static_cast<int>(seen.size());
}

// The scope's own labels that still need a mnemonic, those with the fewest letters to
// choose from first, so that a short label is not left without one.
QList<QLabel*> labelsToMark(QWidget* scope) {
    QList<QLabel*> labels;
    for (QLabel* label : scope->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && (label->buddy()->focusPolicy() & Qt::TabFocus) != 0 &&
            !insideNestedTab(label, scope) && mnemonicOf(label->text()).isNull()) {
            labels.append(label);
        }
    }
    std::stable_sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) {
        return distinctLetters(a->text()) < distinctLetters(b->text());
    });
    return labels;
}

}  // namespace

QString assignMnemonics(QWidget* scope, const QString& taken) {
    QString used = taken.toLower() + mnemonicsInUse(scope);
    for (QLabel* label : labelsToMark(scope)) {
        QString text = label->text();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const qsizetype at = mnemonicPosition(text, used);
        if (at >= 0) {
            used += text[at].toLower();
            text.insert(at, QLatin1Char('&'));
            label->setText(text);
        }
    }
    for (QTabWidget* tab : scope->findChildren<QTabWidget*>()) {
        if (!insideNestedTab(tab, scope)) {
            for (int page = 0; page < tab->count(); ++page) {
                assignMnemonics(tab->widget(page), used);
            }
        }
    }
    return used;
}

QString mnemonicLetters(const QList<QAction*>& actions) {
    QString letters;
    for (const QAction* action : actions) {
        if (const QChar c = mnemonicOf(action->text()); !c.isNull()) {
            letters += c;
        }
    }
    return letters;
}

QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&')) {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

}  // namespace kv820
