#include "app/commands/command_dispatcher.h"

#include <QComboBox>
#include <QPushButton>

#include "app/commands/command_channel.h"
#include "core/commands/command_messages.h"
#include "core/store/user_registry.h"

namespace kv820 {

CommandDispatcher::CommandDispatcher(const AppServices& services, QObject* parent)
    : QObject(parent), services_(services) {}

void CommandDispatcher::setUserSource(QComboBox* userCombo, const UserRegistry* registry) {
    userCombo_ = userCombo;
    registry_ = registry;
}

void CommandDispatcher::setCommandChannel(CommandChannel* channel) {
    if (channel_) {
        disconnect(channel_, nullptr, this, nullptr);
    }
    channel_ = channel;
    // A send handed to another channel will never be confirmed by this one.
    sending_ = false;
    sessionOpen_ = channel_ && channel_->sessionActive();
    if (channel_) {
        connect(channel_, &CommandChannel::commandSent, this, &CommandDispatcher::onCommandSent);
        connect(channel_, &CommandChannel::sessionActiveChanged, this,
                &CommandDispatcher::onSessionActiveChanged);
    }
    updateSendButtons();
}

CommandChannel* CommandDispatcher::commandChannel() const {
    return channel_;
}

void CommandDispatcher::addSendButton(QPushButton* button) {
    sendButtons_.emplace_back(button);
    updateSendButtons();
}

CommandTarget CommandDispatcher::target() const {
    CommandTarget target;
    target.sessionActive = channel_ && channel_->sessionActive();
    if (userCombo_ && userCombo_->currentIndex() >= 0) {
        target.selectedUserName = userCombo_->currentText().toStdString();
    }
    if (target.selectedUserName && registry_) {
        if (auto slot = registry_->FindUserByName(*target.selectedUserName)) {
            target.user = UserContact{slot->phone, slot->imei};
        }
    }
    return target;
}

void CommandDispatcher::dispatch(const CommandOutcome& outcome, QWidget* page) {
    if (sending_) {
        return;
    }
    if (const auto* message = std::get_if<CommandMessage>(&outcome)) {
        showRefusal(*message, page);
    } else {
        startSend(std::get<CommandSms>(outcome), page);
    }
}

void CommandDispatcher::showRefusal(const CommandMessage& message, QWidget* page) {
    QWidget* owner = message.owner == MessageOwner::Page ? page : page->window();
    services_.alerts->error(owner, QString::fromStdString(message.text));
}

void CommandDispatcher::startSend(const CommandSms& sms, QWidget* page) {
    // The button shows nothing is running before the job starts, so a confirmation that
    // arrives at once finds the send marked as running.
    sending_ = true;
    updateSendButtons();
    const bool queued = channel_ && channel_->sendCommand(QString::fromStdString(sms.destination),
                                                          QString::fromStdString(sms.text));
    if (!queued) {
        // The session closed between the check and the hand-over.
        sending_ = false;
        updateSendButtons();
        showRefusal(CommandMessage{ConnectionErrorText, MessageOwner::Page}, page);
    }
}

void CommandDispatcher::onCommandSent() {
    sending_ = false;
    updateSendButtons();
}

void CommandDispatcher::onSessionActiveChanged(bool active) {
    // A session that closed or reopened has no send of ours left running.
    sessionOpen_ = active;
    sending_ = false;
    updateSendButtons();
}

void CommandDispatcher::updateSendButtons() {
    const bool enabled = sessionOpen_ && !sending_;
    for (const QPointer<QPushButton>& button : sendButtons_) {
        if (button) {
            button->setEnabled(enabled);
        }
    }
}

}  // namespace kv820
