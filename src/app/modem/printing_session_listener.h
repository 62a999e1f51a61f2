#pragma once

#include <atomic>
#include <cstdio>

#include "core/modem/sms_session_listener.h"

namespace kv820 {

// The modem log of the headless receiver: every text goes to `out` as the log box would
// show it (modem lines followed by CR LF, other texts as given), at once.
class PrintingSessionListener final : public SmsSessionListener {
  public:
    explicit PrintingSessionListener(std::FILE* out) : out_(out) {}

    void modemLog(std::string_view text) override;
    void sessionStarted(bool ready) override { started_ = ready; }
    void reportStored(const StoredReportEvent&) override {}
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}

    bool started() const { return started_; }
    // Ends the output with a line break unless it already ends with one.
    void finishLine();

  private:
    std::FILE* out_;
    std::atomic<bool> started_{false};
    bool atLineStart_ = true;
};

}  // namespace kv820
