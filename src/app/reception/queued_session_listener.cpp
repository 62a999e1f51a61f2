#include "app/reception/queued_session_listener.h"

#include <QMetaObject>
#include <string>

namespace kv820 {

QueuedSessionListener::QueuedSessionListener(QObject* context, SmsSessionListener& target,
                                             std::function<bool()> relevant)
    : context_(context), target_(target), relevant_(std::move(relevant)) {}

void QueuedSessionListener::forward(std::function<void(SmsSessionListener&)> call) {
    QMetaObject::invokeMethod(
        context_,
        [&target = target_, relevant = relevant_, call = std::move(call)] {
            if (!relevant || relevant()) {
                call(target);
            }
        },
        Qt::QueuedConnection);
}

void QueuedSessionListener::modemLog(std::string_view text) {
    forward([text = std::string(text)](SmsSessionListener& l) { l.modemLog(text); });
}

void QueuedSessionListener::modemLine(std::string_view line) {
    forward([line = std::string(line)](SmsSessionListener& l) { l.modemLine(line); });
}

void QueuedSessionListener::sessionStarted(bool ready) {
    forward([ready](SmsSessionListener& l) { l.sessionStarted(ready); });
}

void QueuedSessionListener::reportStored(const StoredReportEvent& event) {
    forward([event](SmsSessionListener& l) { l.reportStored(event); });
}

void QueuedSessionListener::reportStoreFailed(const PositionReport& report, std::string_view why) {
    forward([report, why = std::string(why)](SmsSessionListener& l) {
        l.reportStoreFailed(report, why);
    });
}

void QueuedSessionListener::healthChanged(const SessionHealth& health) {
    forward([health](SmsSessionListener& l) { l.healthChanged(health); });
}

void QueuedSessionListener::eventsRaised(const std::vector<TrackerEvent>& events) {
    forward([events](SmsSessionListener& l) { l.eventsRaised(events); });
}

void QueuedSessionListener::forwardFailed(const Forward& failed) {
    forward([failed](SmsSessionListener& l) { l.forwardFailed(failed); });
}

void QueuedSessionListener::sessionEnded() {
    forward([](SmsSessionListener& l) { l.sessionEnded(); });
}

}  // namespace kv820
