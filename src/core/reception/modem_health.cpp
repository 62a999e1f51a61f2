#include "core/reception/modem_health.h"

#include <vector>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

constexpr int NearlyFullRoom = 2;

}  // namespace

bool SessionHealth::simNearlyFull() const {
    return simUsed && simTotal && *simTotal > 0 && *simTotal - *simUsed <= NearlyFullRoom;
}

std::optional<int> signalDbmFromReply(const ModemReply& reply) {
    if (!reply.ok()) {
        return std::nullopt;
    }
    const std::optional<std::string_view> signal = reply.lineAfter("+CSQ:");
    const std::optional<std::int32_t> rssi = signal ? leadingInt32(*signal) : std::nullopt;
    if (!rssi || *rssi < 0 || *rssi > 31) {
        return std::nullopt;
    }
    return -113 + 2 * *rssi;
}

int signalBars(int dbm) {
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

std::string sessionHealthText(const SessionHealth& health) {
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
        text += " | Signal " + std::to_string(signalBars(*health.signalDbm)) + "/4 " +
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
