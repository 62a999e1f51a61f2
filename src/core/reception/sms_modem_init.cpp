#include "core/reception/sms_modem_init.h"

#include "core/at/modem_wake.h"

namespace kv820 {

namespace {

constexpr std::chrono::milliseconds WakePause{5000};

std::optional<MessageMode> SetMessageMode(ComPort& port) {
    if (port.Exchange("at+cmgf=1", reply_timeout::Setting).ok()) {
        return MessageMode::Text;
    }
    // Modems and phones that know only PDU mode refuse text mode with "ERROR".
    if (port.Exchange("at+cmgf=0", reply_timeout::Setting).ok()) {
        return MessageMode::Pdu;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SmsModemSetup> InitModemForSms(ComPort& port, const std::string& portEntry) {
    port.OpenComPort(portEntry);
    for (int wake = 0; wake < 2; ++wake) {
        port.WakeModem();
        AwaitModemAnswer(port, WakePause);
    }
    port.Exchange("at", reply_timeout::Quick);
    port.Exchange("ati", reply_timeout::Quick);
    std::optional<SmsModemSetup> setup;
    if (const std::optional<MessageMode> mode = SetMessageMode(port)) {
        MessageStores stores = SetUpMessageStores(port);
        if (port.Exchange("at+cnmi=1,1", reply_timeout::Setting).ok()) {
            setup = SmsModemSetup{*mode, std::move(stores)};
        }
    }
    if (!setup) {
        port.CloseComPort();
    }
    return setup;
}

}  // namespace kv820
