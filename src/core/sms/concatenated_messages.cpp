#include "core/sms/concatenated_messages.h"

namespace kv820 {

std::optional<ConcatenatedMessages::Joined> ConcatenatedMessages::add(
    const MessagePlace& place, const SmsPduMessage& part, std::chrono::milliseconds now) {
    if (!part.part) {
        return std::nullopt;
    }
    const Key key{part.sender, part.part->reference, part.part->total};
    auto [found, added] = messages_.try_emplace(key);
    if (added) {
        found->second.firstRead = now;
    }
    found->second.parts.insert_or_assign(part.part->sequence, std::make_pair(place, part));
    if (static_cast<int>(found->second.parts.size()) < part.part->total) {
        return std::nullopt;
    }
    Joined joined = join(found->second, part.part->total);
    messages_.erase(found);
    return joined;
}

std::vector<ConcatenatedMessages::Joined> ConcatenatedMessages::takeOverdue(
    std::chrono::milliseconds now) {
    std::vector<Joined> overdue;
    for (auto it = messages_.begin(); it != messages_.end();) {
        if (now - it->second.firstRead > PartWait) {
            overdue.push_back(join(it->second, std::get<2>(it->first)));
            it = messages_.erase(it);
        } else {
            ++it;
        }
    }
    return overdue;
}

ConcatenatedMessages::Joined ConcatenatedMessages::join(const Held& held, int total) {
    Joined joined;
    for (const auto& [sequence, part] : held.parts) {
        const auto& [place, message] = part;
        if (joined.places.empty()) {
            joined.sender = message.sender;
            joined.timestampText = message.timestampText;
            joined.startsAtFirstPart = sequence == 1;
        }
        joined.text += message.text;
        joined.places.push_back(place);
    }
    joined.whole = static_cast<int>(held.parts.size()) == total;
    return joined;
}

}  // namespace kv820
