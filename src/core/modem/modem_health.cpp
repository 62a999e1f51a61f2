#include "core/modem/modem_health.h"

#include <vector>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr int NearlyFullRoom = 2;

// The numbers of the first line starting with `prefix`, read left to right; a quoted field
// ("SM") is passed over.
std::vector<int> NumbersOfLine(const ModemReply& reply, std::string_view prefix) {
    std::vector<int> numbers;
    for (const ModemLine& line : ModemLines(reply.text)) {
        if (!line.text.starts_with(prefix)) {
            continue;
        }
        std::string_view rest = line.text.substr(prefix.size());
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view field = rest.substr(0, comma);
            if (field.find('"') == std::string_view::npos) {
                if (const std::optional<std::int32_t> number = LeadingInt32(field)) {
                    numbers.push_back(*number);
                }
            }
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        break;
    }
    return numbers;
}

}  // namespace

bool SessionHealth::simNearlyFull() const {
    return simUsed && simTotal && *simTotal > 0 && *simTotal - *simUsed <= NearlyFullRoom;
}

std::optional<int> SignalDbmFromReply(const ModemReply& reply) {
    if (!reply.ok()) {
        return std::nullopt;
    }
    const std::vector<int> numbers = NumbersOfLine(reply, "+CSQ:");
    if (numbers.empty() || numbers[0] < 0 || numbers[0] > 31) {
        return std::nullopt;
    }
    return -113 + 2 * numbers[0];
}

int SignalBars(int dbm) {
    if (dbm >= -73) {
        return 4;
    }
    if (dbm >= -83) {
        return 3;
    }
    if (dbm >= -93) {
        return 2;
    }
    return dbm >= -105 ? 1 : 0;
}

std::string SessionHealthText(const SessionHealth& health) {
    switch (health.state) {
        case SessionHealth::State::Idle:
            return "Idle";
        case SessionHealth::State::WaitingForModem:
            return "Waiting for the modem" +
                   (health.lastReport.empty() ? "" : " | Last report " + health.lastReport);
        case SessionHealth::State::Receiving:
            break;
    }
    std::string text = "Receiving";
    if (health.signalDbm) {
        text += " | Signal " + std::to_string(SignalBars(*health.signalDbm)) + "/4 " +
                std::to_string(*health.signalDbm) + " dBm";
    }
    if (health.simUsed && health.simTotal) {
        text += " | SIM " + std::to_string(*health.simUsed) + "/" +
                std::to_string(*health.simTotal) + (health.simNearlyFull() ? " nearly full!" : "");
    }
    if (!health.lastReport.empty()) {
        text += " | Last report " + health.lastReport;
    }
    return text;
}

}  // namespace kv820
