#pragma once

#include <string>

namespace kv820::test {

// A read-message reply as the modem gives it: echo, status header with the service-centre
// time stamp, the body, and the final "OK".
inline std::string readMessageReply(const std::string& index, const std::string& body,
                                    const std::string& stamp = "07/05/12,10:20:30+32") {
    return "at+cmgr=" + index + "\r\r\n+CMGR: \"REC UNREAD\",\"+886912345678\",,\"" + stamp +
           "\"\r\n" + body + "\r\n\r\nOK\r\n";
}

inline std::string reportBody(const std::string& imei, const std::string& kind = "1",
                              const std::string& fix = "3", const std::string& date = "070512",
                              const std::string& time = "235959") {
    return "?" + imei + "," + kind + "," + fix + "," + date + "," + time +
           ",E12130.1234,N2503.1234,120,10,270,8,0!";
}

}  // namespace kv820::test
