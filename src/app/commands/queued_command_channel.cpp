#include "app/commands/queued_command_channel.h"

#include "core/alarms/event_time.h"
#include "core/commands/command_queue.h"
#include "core/common/clock.h"
#include "core/records/search_criteria.h"
#include "core/store/database.h"
#include "core/store/database_error.h"

namespace kv820 {

QueuedCommandChannel::QueuedCommandChannel(CommandChannel& ownSession,
                                           std::function<Database*()> connection,
                                           QPlainTextEdit* log, QObject* parent)
    : CommandChannel(parent),
      ownSession_(ownSession),
      connection_(std::move(connection)),
      log_(log),
      clock_(&systemClock()) {
    connect(&ownSession_, &CommandChannel::commandSent, this, [this] {
        if (sendingOwn_) {
            sendingOwn_ = false;
            emit commandSent();
        }
    });
    // A session closed in the middle of a send will not confirm it.
    connect(&ownSession_, &CommandChannel::sessionActiveChanged, this, [this](bool active) {
        if (!active && sendingOwn_) {
            sendingOwn_ = false;
            emit commandSent();
        }
    });
}

bool QueuedCommandChannel::sendCommand(const QString& phone, const QString& text) {
    if (ownSession_.sessionActive()) {
        sendingOwn_ = ownSession_.sendCommand(phone, text);
        return sendingOwn_;
    }
    Database* db = connection_();
    if (db == nullptr) {
        return false;
    }
    try {
        queued_ = CommandQueue(*db).enqueue(phone.toStdString(), text.toStdString(),
                                            eventTimeText(localNow()));
    } catch (const DatabaseError& error) {
        log_.appendText("The command could not be queued (" + std::string(error.what()) + ").\r\n");
        return false;
    }
    queuedAt_ = clock_->now();
    return true;
}

void QueuedCommandChannel::checkQueued() {
    Database* db = connection_();
    if (!queued_ || db == nullptr) {
        return;
    }
    try {
        CommandQueue queue(*db);
        const std::optional<QueuedCommandResult> result = queue.result(*queued_);
        using State = QueuedCommandResult::State;
        const auto waited = clock_->now() - queuedAt_;
        if (!result) {
            finish(NoReceiverText);  // taken back by another look of ours
        } else if (result->state == State::Sent || result->state == State::NotSent) {
            finish(result->log);
        } else if (result->state == State::Queued && waited >= ClaimWait &&
                   queue.withdraw(*queued_)) {
            finish(NoReceiverText);
        } else if (waited >= OutcomeWait) {
            finish(NoOutcomeText);
        }
    } catch (const DatabaseError&) {
        // Looked at again with the next notification or look of the desk.
    }
}

void QueuedCommandChannel::finish(std::string_view text) {
    queued_.reset();
    log_.appendText(text);
    emit commandSent();
}

}  // namespace kv820
