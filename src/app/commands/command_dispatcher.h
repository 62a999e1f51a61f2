#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "app/common/app_services.h"
#include "core/commands/command_outcome.h"
#include "core/commands/command_target.h"

class QComboBox;
class QPushButton;
class QWidget;

namespace kv820 {

class CommandChannel;
class UserRegistry;

// What both command pages share when they send: the user selection of the SMS Command page,
// the registry that turns it into a phone and an IMEI, and the channel to the modem
// session. There is one modem, so one send runs at a time: while it runs every send button
// it governs is disabled, and they come back only when the send is done and the session
// is still open.
class CommandDispatcher : public QObject {
    Q_OBJECT
  public:
    // Refusals are shown through the services' alerts.
    explicit CommandDispatcher(const AppServices& services, QObject* parent = nullptr);

    // The "User Name :" list commands go to and the registry its names are looked up in.
    void setUserSource(QComboBox* userCombo, const UserRegistry* registry);
    // The session's channel; nullptr means no session can be reached.
    void setCommandChannel(CommandChannel* channel);
    CommandChannel* commandChannel() const;

    // A send button that follows the session and the running send.
    void addSendButton(QPushButton* button);

    // The session state and the selected user, as the core checks them.
    CommandTarget target() const;
    // Shows a refusal in an "ERROR" box owned by `page` or its window, or hands an accepted
    // command to the session. Ignored while an earlier send is still running.
    void dispatch(const CommandOutcome& outcome, QWidget* page);
    bool sending() const { return sending_; }

  private:
    void showRefusal(const CommandMessage& message, QWidget* page);
    void startSend(const CommandSms& sms, QWidget* page);
    void onCommandSent();
    void onSessionActiveChanged(bool active);
    void updateSendButtons();

    AppServices services_;
    QPointer<QComboBox> userCombo_;
    const UserRegistry* registry_ = nullptr;
    QPointer<CommandChannel> channel_;
    std::vector<QPointer<QPushButton>> sendButtons_;
    bool sessionOpen_ = false;  // as the channel last announced it
    bool sending_ = false;
};

}  // namespace kv820
