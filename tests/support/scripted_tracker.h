#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/fake_serial_link.h"
#include "support/tracker_replies.h"

namespace kv820::test {

inline const std::string ListingCommand = "at^smgl=\"STO UNSENT\"";
inline const std::string TrackerImei = "356000000000001";

// A tracker on the cable whose GSM module answers the connect sequence. Every reply can be
// replaced before Install binds them to the fake link.
struct ScriptedTracker {
    std::string firmwareReply = echoed("tr+fwv", "KV-820V1.01(B05)");
    std::string atiReply = echoed("ati", "SIEMENS\r\nTC63\r\nREVISION 03.001");
    std::string pinStateReply = echoed("at+cpin?", "+CPIN: READY");
    std::string imeiReply = echoed("at+cgsn", TrackerImei);
    // One reply per listing command, in the order they are asked for.
    std::vector<std::string> listings;
    // Stored messages by index: the reply to "at+cmgr=<index>".
    std::map<int, std::string> storedReplies;

    // Stores the four setup messages at the given indices and lists them.
    void holdSetupFile(const std::vector<std::string>& texts, const std::vector<int>& indices) {
        std::vector<ListedMessage> listed;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const int k = static_cast<int>(i) + 1;
            listed.push_back({indices[i], "+" + std::to_string(k), texts[i]});
            storedReplies[indices[i]] = storedMessageReply(indices[i], k, texts[i]);
        }
        listings = {listingReply(listed)};
    }

    void install(FakeSerialLink& link) const {
        link.replyTo("2", "2", 0);
        link.replyTo("at\r", echoed("at"), 0);
        link.replyTo("tr+fwv\r", firmwareReply, 0);
        link.replyTo("at+cfun=1\r", echoed("at+cfun=1"), 0);
        link.replyTo("ati\r", atiReply, 0);
        link.replyTo("at+cpin?\r", pinStateReply, 0);
        link.replyTo("at+cmgf=1\r", echoed("at+cmgf=1"), 0);
        link.replyTo("at+cpms=\"ME\",\"ME\",\"MT\"\r",
                     echoed("at+cpms=\"ME\",\"ME\",\"MT\"", "+CPMS: 4,255,4,255,0,25"), 0);
        for (const std::string& listing : listings) {
            link.replyTo(ListingCommand + "\r", listing, 1);
        }
        link.replyTo("at+cgsn\r", imeiReply, 0);
        for (const auto& [index, reply] : storedReplies) {
            link.replyTo("at+cmgr=" + std::to_string(index) + "\r", reply, 0);
        }
        link.onWrite = [](FakeSerialLink& l, std::string_view written) {
            if (written.starts_with("at+cmgd=")) {
                l.feed(std::string(written) + "\r\nOK\r\n");
            }
        };
    }
};

}  // namespace kv820::test
