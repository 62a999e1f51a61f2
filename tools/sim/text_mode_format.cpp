#include "sim/text_mode_format.h"

namespace kv820::sim {
namespace {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string headerFields(const StoredMessage& message) {
    std::string fields = quoted(statusText(message.status)) + "," + quoted(message.address);
    if (message.received()) {
        const std::string stamp = message.timestamp ? message.timestamp->toText() : "";
        return fields + ",," + quoted(stamp);
    }
    return fields + ",";  // the empty phonebook name of the destination
}

}  // namespace

std::string readResponse(const StoredMessage& message) {
    return "\r\n+CMGR: " + headerFields(message) + "\r\n" + message.body + "\r\n";
}

std::string listingEntry(std::string_view prefix, const StoredMessage& message) {
    std::string header =
        std::string(prefix) + ": " + std::to_string(message.index) + "," + headerFields(message);
    if (!message.received()) {
        header += ",";  // no time stamp for a message that was never sent
    }
    return header + "\r\n" + message.body + "\r\n";
}

std::string cmsError(int code) {
    return "\r\n+CMS ERROR: " + std::to_string(code) + "\r\n";
}

std::string cmeError(int code) {
    return "\r\n+CME ERROR: " + std::to_string(code) + "\r\n";
}

}  // namespace kv820::sim
