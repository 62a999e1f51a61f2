#include "core/modem/sms_modem_init.h"

#include "core/modem/modem_wake.h"

namespace kv820 {

namespace {
constexpr std::chrono::milliseconds WakePause{5000};
}  // namespace

bool InitModemForSms(ComPort& port, const std::string& portEntry) {
    port.OpenComPort(portEntry);
    for (int wake = 0; wake < 2; ++wake) {
        port.WakeModem();
        AwaitModemAnswer(port, WakePause);
    }
    port.Exchange("at", reply_timeout::Quick);
    port.Exchange("ati", reply_timeout::Quick);
    const bool textMode = port.Exchange("at+cmgf=1", reply_timeout::Setting).ok();
    const bool announcements = port.Exchange("at+cnmi=1,1", reply_timeout::Setting).ok();
    const bool ready = textMode && announcements;
    if (!ready) {
        port.CloseComPort();
    }
    return ready;
}

}  // namespace kv820
