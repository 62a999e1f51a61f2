#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/sms_timestamp.h"

namespace kv820::sim {

enum class MessageStatus { ReceivedUnread, ReceivedRead, StoredUnsent, StoredSent };

// "REC UNREAD", "REC READ", "STO UNSENT", "STO SENT".
std::string_view statusText(MessageStatus status);
// The converse, for listing filters; "ALL" and unknown texts give nullopt.
std::optional<MessageStatus> statusFromText(std::string_view text);

// One SMS in a message memory. A received message has an originating address and a
// service-centre time stamp; a stored outgoing one has a destination address only.
struct StoredMessage {
    int index = 0;
    MessageStatus status = MessageStatus::ReceivedUnread;
    std::string address;
    std::string body;
    std::optional<SmsTimestamp> timestamp;

    bool received() const {
        return status == MessageStatus::ReceivedUnread || status == MessageStatus::ReceivedRead;
    }
};

}  // namespace kv820::sim
