#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <memory>

#include "app/commands/command_channel.h"
#include "app/commands/command_dispatcher.h"
#include "app/commands/command_page_checks.h"
#include "app/commands/fake_command_channel.h"
#include "core/store/user_registry.h"
#include "support/qt/alert_recorder.h"

namespace kv820::test {

inline constexpr char RigUserName[] = "truck";
inline constexpr char RigUserPhone[] = "0912345678";
inline constexpr char RigUserImei[] = "354612071234567";

// A command page inside a stand-in main window, with the "User Name :" list, a registry of
// one user ("truck") and a fake session, as the SMS Command page gives them to it.
template <typename Page>
struct CommandPageRig {
    CommandPageRig() {
        registry.replace({{RigUserName, RigUserPhone, RigUserImei}});
        users = new QComboBox(&window);
        users->addItem(QString::fromLatin1(RigUserName));
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

    template <typename W>
    W* child(const char* name) const {
        W* widget = page->template findChild<W*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no child named %s", name);
        }
        return widget;
    }

    void type(const char* name, const QString& text) {
        auto* edit = child<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    // Works the controls as an operator would, one "objectName=value" step at a time: a
    // list takes the entry at that index, a check box is clicked, an edit gets the text.
    void apply(const QStringList& steps) {
        for (const QString& step : steps) {
            const QString name = step.section(QLatin1Char('='), 0, 0);
            const QString value = step.section(QLatin1Char('='), 1);
            QWidget* control = child<QWidget>(name.toLatin1().constData());
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                Choose(combo, value.toInt());
            } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
                ClickBox(box);
            } else {
                type(name.toLatin1().constData(), value);
            }
        }
    }

    // The one command text a press of `button` sends to the user's phone after `steps` in an
    // open session, or what happened instead.
    QString sentAfter(const QStringList& steps, const char* button) {
        AlertRecorder recorder;
        openSession();
        apply(steps);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        if (!recorder.texts().isEmpty()) {
            return "refused: " + recorder.texts().join(QLatin1Char('|'));
        }
        if (channel.sent.size() != 1 || channel.sent[0].first != QLatin1String(RigUserPhone)) {
            return QStringLiteral("not sent once to the user's phone");
        }
        return channel.sent[0].second;
    }

    QWidget window;  // stands in for the main window: owner of most refusals
    UserRegistry registry;
    QComboBox* users = nullptr;
    FakeCommandChannel channel;
    CommandDispatcher dispatcher;
    Page* page = nullptr;
};

}  // namespace kv820::test
