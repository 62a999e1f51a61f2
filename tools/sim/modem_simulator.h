#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/at_device_simulator.h"
#include "sim/message_store.h"
#include "sim/modem_habits.h"
#include "sim/sms_timestamp.h"
#include "sim/tracker_report.h"

namespace kv820::sim {

// An SMS the program asked the modem to send.
struct SentSms {
    std::string destination;
    std::string text;
    bool operator==(const SentSms&) const = default;
};

// The GSM modem of an SMS session (a Siemens module). It stores received SMS on its SIM
// ("SM") or in its own memory ("ME"), announces them with "+CMTI" once "at+cnmi=1,1" asked
// for it, reads, lists and deletes them in the store "at+cpms" selected, in text or PDU
// mode, and records every SMS it is asked to send. Its habits (ModemHabits) make it behave
// like modems in the field.
class ModemSimulator : public AtDeviceSimulator {
  public:
    static constexpr std::size_t DefaultCapacity = 30;
    static constexpr std::size_t PhoneMemoryCapacity = 100;
    static constexpr std::string_view DefaultSender = "+886912345678";

    explicit ModemSimulator(std::size_t capacity = DefaultCapacity);

    // Where service-centre time stamps come from (the current UTC time by default).
    void setClock(std::function<SmsTimestamp()> clock) { clock_ = std::move(clock); }

    // A report from a simulated tracker arrives: it is stored as a received SMS and, when
    // announcements are on, "+CMTI" is queued. Returns the index, or nullopt when full.
    std::optional<int> injectReport(const TrackerReport& report,
                                    std::string_view sender = DefaultSender);
    std::optional<int> injectSms(std::string_view sender, std::string_view text);
    // Stores without any announcement (a message that arrived while nobody listened).
    std::optional<int> storeSms(std::string_view sender, std::string_view text,
                                MessageStatus status = MessageStatus::ReceivedUnread);
    // Several reports arrive together: all are stored first, then all "+CMTI" lines are
    // queued back to back. Returns the indexes of those stored.
    std::vector<int> injectBurst(const std::vector<TrackerReport>& reports,
                                 std::string_view sender = DefaultSender);

    const std::vector<SentSms>& sentMessages() const { return sent_; }
    // The SIM's messages.
    const MessageStore& storage() const { return sim_; }
    MessageStore& storage() { return sim_; }
    // The modem's own memory.
    const MessageStore& phoneMemory() const { return phoneMemory_; }
    MessageStore& phoneMemory() { return phoneMemory_; }
    // Messages in both stores.
    std::size_t storedCount() const { return sim_.size() + phoneMemory_.size(); }
    ModemHabits& habits() { return habits_; }
    bool announcing() const { return announcing_; }
    bool textMode() const { return textMode_; }
    void setTextMode(bool on) { textMode_ = on; }
    // True once "at+cnmi=1,1" was seen since the program last opened the port.
    bool sessionOpen() const { return sessionOpen_; }

    void portOpened() override { sessionOpen_ = false; }
    void portClosed() override { sessionOpen_ = false; }

  protected:
    std::string answerCommand(std::string_view command) override;
    std::string answerWake(char wake) override;
    std::string answerMessageText(std::string_view text) override;
    void cancelMessageText() override { pendingDestination_.reset(); }

  private:
    std::string answerSmsCommand(std::string_view command);
    std::string answerStoredMessageCommand(std::string_view command);
    std::string answerNewMessageIndications(std::string_view arguments);
    std::string answerRead(std::string_view argument);
    std::string answerDelete(std::string_view argument);
    std::string answerSend(std::string_view argument);
    std::string answerStoreSelection(std::string_view arguments);
    std::string storeUse(bool named) const;
    std::string answerPduListing(std::string_view argument);
    std::string pduReadResponse(std::string_view prefix, const StoredMessage& message) const;
    std::string answerPduText(std::string_view hex);
    MessageStore& storeNamed(std::string_view name);
    MessageStore& readStore() { return storeNamed(readStore_); }
    MessageStore& receiveStore();
    void announce(int index);

    MessageStore sim_;
    MessageStore phoneMemory_{PhoneMemoryCapacity};
    std::string readStore_ = "SM";
    std::string receiveStore_ = "SM";
    ModemHabits habits_;
    int announcementsMade_ = 0;
    std::function<SmsTimestamp()> clock_;
    std::vector<SentSms> sent_;
    std::optional<std::string> pendingDestination_;
    int nextReference_ = 1;
    bool textMode_ = false;
    bool announcing_ = false;
    bool sessionOpen_ = false;
};

}  // namespace kv820::sim
