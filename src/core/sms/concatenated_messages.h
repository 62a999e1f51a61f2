#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/at/modem_event.h"
#include "core/sms/sms_pdu.h"

namespace kv820 {

// The parts of concatenated messages read so far, until their message is whole. The parts
// stay in the modem meanwhile, so that a session that ends loses none of them: the next
// one reads them again.
class ConcatenatedMessages {
  public:
    // How long the rest of a message is waited for after its first part was read. Parts
    // travel together; one missing after this long is taken as lost.
    static constexpr std::chrono::milliseconds PartWait{std::chrono::minutes(5)};

    // A message joined from its parts, in order.
    struct Joined {
        std::string sender;
        std::string timestampText;  // of the first part held
        std::string text;
        std::vector<MessagePlace> places;  // of every part held, in order
        bool whole = false;                // every part is there
        bool startsAtFirstPart = false;    // the first part is there
    };

    // Holds a part read at `now`; returns the joined message once every part is held.
    std::optional<Joined> add(const MessagePlace& place, const SmsPduMessage& part,
                              std::chrono::milliseconds now);
    // The messages whose first part was read more than PartWait before `now`, as they are;
    // they are held no longer.
    std::vector<Joined> takeOverdue(std::chrono::milliseconds now);
    bool empty() const { return messages_.empty(); }

  private:
    using Key = std::tuple<std::string, int, int>;  // sender, reference, total
    struct Held {
        std::chrono::milliseconds firstRead{0};
        std::map<int, std::pair<MessagePlace, SmsPduMessage>> parts;  // by sequence
    };
    static Joined join(const Held& held, int total);

    std::map<Key, Held> messages_;
};

}  // namespace kv820
