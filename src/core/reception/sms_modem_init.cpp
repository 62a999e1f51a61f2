#include "core/reception/sms_modem_init.h"

#include "core/at/modem_wake.h"

namespace kv820 {

namespace {

constexpr std::chrono::milliseconds WakePause{5000};

std::optional<MessageMode> setMessageMode(ComPort& port) {
    if (port.exchange("at+cmgf=1", reply_timeout::Setting).ok()) {
        return MessageMode::Text;
    }
    // Modems and phones that know only PDU mode refuse text mode with "ERROR".
    if (port.exchange("at+cmgf=0", reply_timeout::Setting).ok()) {
        return MessageMode::Pdu;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SmsModemSetup> InitModemForSms(ComPort& port, const std::string& portEntry) {
    port.OpenComPort(portEntry);
    for (int wake = 0; wake < 2; ++wake) {
        port.WakeModem();
        awaitModemAnswer(port, WakePause);
    }
    port.exchange("at", reply_timeout::Quick);
    port.exchange("ati", reply_timeout::Quick);
    std::optional<SmsModemSetup> setup;
    if (const std::optional<MessageMode> mode = setMessageMode(port)) {
        MessageStores stores = setUpMessageStores(port);
        if (port.exchange("at+cnmi=1,1", reply_timeout::Setting).ok()) {
            setup = SmsModemSetup{*mode, std::move(stores)};
        }
    }
    if (!setup) {
        port.CloseComPort();
    }
    return setup;
}

}  // namespace kv820
