#include "sim/stored_message.h"

namespace kv820::sim {

std::string_view statusText(MessageStatus status) {
    switch (status) {
        case MessageStatus::ReceivedUnread:
            return "REC UNREAD";
        case MessageStatus::ReceivedRead:
            return "REC READ";
        case MessageStatus::StoredUnsent:
            return "STO UNSENT";
        case MessageStatus::StoredSent:
            return "STO SENT";
    }
    return "";
}

std::optional<MessageStatus> statusFromText(std::string_view text) {
    for (MessageStatus status : {MessageStatus::ReceivedUnread, MessageStatus::ReceivedRead,
                                 MessageStatus::StoredUnsent, MessageStatus::StoredSent}) {
        if (statusText(status) == text) {
            return status;
        }
    }
    return std::nullopt;
}

}  // namespace kv820::sim
