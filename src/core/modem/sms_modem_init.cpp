#include "core/modem/sms_modem_init.h"

namespace kv820 {

namespace {
constexpr std::chrono::milliseconds WakePause{5000};
constexpr std::size_t InitReplySize = 128;
}  // namespace

bool InitModemForSms(ComPort& port, const std::string& portEntry) {
    port.OpenComPort(portEntry);
    port.WakeModem(WakePause);
    port.WakeModem(WakePause);
    port.SendAtCommand("at");
    port.ReadModemReply(InitReplySize);
    port.SendAtCommand("ati");
    port.ReadModemReply(InitReplySize);
    port.SendAtCommand("at+cmgf=1");
    const std::string textMode = port.ReadModemReply(InitReplySize);
    port.SendAtCommand("at+cnmi=1,1");
    const std::string announcements = port.ReadModemReply(InitReplySize);
    const bool ready = ReplyHasOk(textMode) && ReplyHasOk(announcements);
    if (!ready) {
        port.CloseComPort();
    }
    return ready;
}

}  // namespace kv820
