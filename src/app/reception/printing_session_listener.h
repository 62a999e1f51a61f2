#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "core/reception/sms_session_listener.h"

namespace kv820 {

// The log of the headless receiver: every text of the session goes, at once, to `out` and
// to the log file when one is open, one line per modem line or status text, each behind
// the local time it began ("2026-05-04 13:45:01 "). Line ends are plain LF and empty lines
// are left out, so that journals and log tools see one entry per line.
class PrintingSessionListener final : public SmsSessionListener {
  public:
    explicit PrintingSessionListener(std::FILE* out) : out_(out) {}
    ~PrintingSessionListener() override;

    // Opens `path` for appending; on failure the reason is logged and false returned.
    bool openLogFile(const std::string& path);
    // Any thread: closes the log file and opens its path again, so that a file moved away
    // by a log rotation is left alone and a new one begins. A failure is logged; the log
    // goes on to `out` and the next reopen tries again.
    void reopenLogFile();

    void modemLog(std::string_view text) override;
    void sessionStarted(bool ready) override { started_ = ready; }
    // The events go to the log; the report itself is in the modem's lines already.
    void reportStored(const StoredReportEvent& event) override { eventsRaised(event.events); }
    void eventsRaised(const std::vector<TrackerEvent>& events) override;
    void reportStoreFailed(const PositionReport&, std::string_view) override {}
    void sessionEnded() override {}

    bool started() const { return started_; }
    // Ends the output with a line break unless it already ends with one.
    void finishLine();

  private:
    bool openLocked();
    void writeLocked(std::string_view text);

    std::FILE* out_;
    std::atomic<bool> started_{false};
    std::mutex mutex_;  // the session's thread logs, the signal thread reopens
    bool atLineStart_ = true;
    std::string logPath_;
    std::FILE* logFile_ = nullptr;
};

}  // namespace kv820
