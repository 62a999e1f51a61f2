#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>

#include "support/qt/keyboard_check.h"

namespace kv820::test {

// Selects entry `index` of a drop-down list with the keyboard, as an operator would; a
// disabled list takes no keys and keeps its selection.
inline void Choose(QComboBox* combo, int index) {
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

// Clicks a check box on its indicator, where a click toggles it wherever the layout
// stretched the box.
inline void ClickBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

// Whether each named child of `page` is enabled, in the order of the names.
template <std::size_t N>
QList<bool> EnabledStates(const QWidget* page, const char* const (&names)[N]) {
    QList<bool> states;
    for (const char* name : names) {
        states << page->findChild<QWidget*>(QString::fromLatin1(name))->isEnabled();
    }
    return states;
}

inline QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

// The objectName of the control the label with exactly `text` names, or "" when no label
// has that text or it names nothing.
inline QString BuddyOf(const QWidget* page, const QString& text) {
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (test::ShownText(label) == text && label->buddy() != nullptr) {
            return label->buddy()->objectName();
        }
    }
    return {};
}

// The command tab gives each page 505 x 450 pixels. At that size the page's layout needs
// no more room than it has, and every visible control lies wholly inside it: nothing is
// squeezed below its text or pushed out of the tab.
inline bool FitsTheTabPage(QWidget* page) {
    const QSize tabPage(505, 450);
    page->resize(tabPage);
    bool fits = true;
    if (page->minimumSizeHint().width() > tabPage.width() ||
        page->minimumSizeHint().height() > tabPage.height()) {
        qWarning() << "the page needs" << page->minimumSizeHint();
        fits = false;
    }
    for (const QWidget* child : page->findChildren<QWidget*>()) {
        if (!child->isVisible()) {
            continue;
        }
        const QRect area(child->mapTo(page, QPoint(0, 0)), child->size());
        if (!page->rect().contains(area)) {
            qWarning() << child->objectName() << child->metaObject()->className() << area
                       << "lies outside" << page->rect();
            fits = false;
        }
    }
    return fits;
}

}  // namespace kv820::test
