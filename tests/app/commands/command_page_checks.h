#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

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

}  // namespace kv820::test
