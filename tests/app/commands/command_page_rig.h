#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/commands/command_dispatcher.h"
#include "app/commands/fake_command_channel.h"
#include "core/store/user_registry.h"
#include "support/qt/recording_services.h"
#include "support/qt/records_database.h"

namespace kv820::test {

// Selects entry `index` of a drop-down list with the keyboard, as an operator would; a
// disabled list takes no keys and keeps its selection.
inline void choose(QComboBox* combo, int index) {
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

// Clicks a check box on its indicator, where a click toggles it wherever the layout
// stretched the box.
inline void clickBox(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

// A command page inside a stand-in main window, with the "User Name :" list, a registry of
// one user ("truck") and a fake session, as the SMS Command page gives them to it.
template <typename Page>
struct CommandPageRig {
    CommandPageRig() {
        registry.replace({Truck});
        users = new QComboBox(&window);
        users->addItem(QString::fromStdString(Truck.name));
        users->setCurrentIndex(0);
        dispatcher.setUserSource(users, &registry);
        dispatcher.setCommandChannel(&channel);
        page = new Page(dispatcher, &window);
        window.resize(505, 450);
        page->resize(505, 450);
        window.show();
    }

    // Opens the session, so that the send button is enabled.
    void openSession() { channel.setActive(true); }

    void press(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }

    template <typename W>
    W* child(const char* name) const {
        W* widget = page->template findChild<W*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no child named %s", name);
        }
        return widget;
    }

    // Works the controls as an operator would, one "objectName=value" step at a time: a
    // list takes the entry at that index, a check box is clicked, an edit gets the text.
    void apply(const QStringList& steps) {
        for (const QString& step : steps) {
            const QString name = step.section(QLatin1Char('='), 0, 0);
            const QString value = step.section(QLatin1Char('='), 1);
            QWidget* control = child<QWidget>(name.toLatin1().constData());
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                choose(combo, value.toInt());
            } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
                clickBox(box);
            } else {
                qobject_cast<QLineEdit*>(control)->clear();
                QTest::keyClicks(control, value);
            }
        }
    }

    // The one command text a press of `button` sends to the user's phone after `steps` in an
    // open session, or what happened instead.
    QString sentAfter(const QStringList& steps, const char* button) {
        openSession();
        apply(steps);
        press(button);
        if (!services.alerts.texts().isEmpty()) {
            return "refused: " + services.alerts.texts().join(QLatin1Char('|'));
        }
        if (channel.sent.size() != 1 ||
            channel.sent[0].first != QString::fromStdString(Truck.phone)) {
            return QStringLiteral("not sent once to the user's phone");
        }
        return channel.sent[0].second;
    }

    RecordingServices services;  // every refusal is recorded here
    QWidget window;              // stands in for the main window: owner of most refusals
    UserRegistry registry;
    QComboBox* users = nullptr;
    FakeCommandChannel channel;
    CommandDispatcher dispatcher{services.app()};
    Page* page = nullptr;
};

}  // namespace kv820::test
