#pragma once

#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/commands/command_channel.h"
#include "app/common/modem_log_box.h"

class QPlainTextEdit;

namespace kv820 {

class Clock;
class Database;

// How a desk on a shared database sends a command: through its own SMS session when one is
// open, else into the command queue, from which the receiver whose modem is free sends it.
// The outcome comes back as the log of that send, shown in the desk's modem log as its own
// send's would be. A command no receiver takes within ClaimWait is taken back and said not
// sent; one taken whose outcome never comes is given up after OutcomeWait.
class QueuedCommandChannel : public CommandChannel {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds ClaimWait{60000};
    static constexpr std::chrono::milliseconds OutcomeWait{300000};
    static constexpr const char* NoReceiverText =
        "No receiver took the command within a minute: it was not sent.\r\n";
    static constexpr const char* NoOutcomeText =
        "The receiver that took the command gave no outcome: whether it was sent is not "
        "known.\r\n";

    // `connection` gives the desk's connection (null while it has none); `log` is the SMS
    // Command page's modem log.
    QueuedCommandChannel(CommandChannel& ownSession, std::function<Database*()> connection,
                         QPlainTextEdit* log, QObject* parent = nullptr);

    void setClock(Clock& clock) { clock_ = &clock; }

    // A shared database always has its receivers to send through.
    bool sessionActive() const override { return true; }
    bool sendCommand(const QString& phone, const QString& text) override;

    // Looks at the queued command: its outcome, or how long it has waited.
    void checkQueued();

  private:
    void finish(std::string_view text);

    CommandChannel& ownSession_;
    std::function<Database*()> connection_;
    ModemLogBox log_;
    Clock* clock_;
    bool sendingOwn_ = false;
    std::optional<std::int64_t> queued_;
    std::chrono::milliseconds queuedAt_{0};
};

}  // namespace kv820
