#pragma once

#include <QObject>
#include <functional>

#include "core/reception/sms_session_listener.h"

namespace kv820 {

// Carries what a session's worker thread reports over to the thread of `context` (the UI
// thread): every call copies its data and returns at once, so the worker never waits for
// the screens. There, each call reaches `target` in the order it was made, as long as
// `relevant` still holds (a session that was closed or replaced is no longer heard).
// `context` must outlive the worker thread; calls still queued when it goes are dropped.
class QueuedSessionListener final : public SmsSessionListener {
  public:
    QueuedSessionListener(QObject* context, SmsSessionListener& target,
                          std::function<bool()> relevant);

    void modemLog(std::string_view text) override;
    void modemLine(std::string_view line) override;
    void sessionStarted(bool ready) override;
    void reportStored(const StoredReportEvent& event) override;
    void reportStoreFailed(const PositionReport& report, std::string_view why) override;
    void healthChanged(const SessionHealth& health) override;
    void eventsRaised(const std::vector<TrackerEvent>& events) override;
    void forwardFailed(const Forward& forward) override;
    void sessionEnded() override;

  private:
    void forward(std::function<void(SmsSessionListener&)> call);

    QObject* context_;
    SmsSessionListener& target_;
    std::function<bool()> relevant_;
};

}  // namespace kv820
