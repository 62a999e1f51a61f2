#include "app/alarms/sos_alarms.h"

#include <algorithm>
#include <ctime>

#include "app/alarms/alarm_beeper.h"
#include "app/alarms/sos_alarm_window.h"
#include "core/alarms/alarm_store.h"
#include "core/alarms/event_time.h"
#include "core/report/report_kinds.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/user_registry.h"

namespace kv820 {

namespace {

// The SOS event of a report the session stored no events with (the window still lists it).
TrackerEvent sosEventOf(const PositionReport& report) {
    return {report.imei, EventKind::Sos, report.gpsDate + " " + report.gpsTime,
            report.messageStatus};
}

}  // namespace

SosAlarms::SosAlarms(const AppServices& services, QWidget* windowParent, QObject* parent)
    : QObject(parent),
      services_(services),
      windowParent_(windowParent),
      beeper_(std::make_unique<ApplicationBeeper>()) {
    beepTimer_.setInterval(BeepIntervalMs);
    connect(&beepTimer_, &QTimer::timeout, this, &SosAlarms::beep);
}

SosAlarms::~SosAlarms() {
    delete window_.data();
}

void SosAlarms::setEventStore(std::function<Database*()> database, const UserRegistry* users) {
    database_ = std::move(database);
    users_ = users;
}

void SosAlarms::raise(const PositionReport& report) {
    StoredReportEvent stored;
    stored.report = report;
    raise(stored);
}

void SosAlarms::raise(const StoredReportEvent& stored) {
    const bool sosReport = stored.report.messageStatus == SosReportText;
    std::vector<TrackerEvent> sosEvents;
    std::vector<TrackerEvent> others;
    for (const TrackerEvent& event : stored.events) {
        (sosReport && event.kind == EventKind::Sos ? sosEvents : others).push_back(event);
    }
    if (sosReport) {
        pending_.push_back({stored.report, std::move(sosEvents)});
    }
    if (addEvents(others) || sosReport) {
        sound();
    }
}

void SosAlarms::raiseEvents(const std::vector<TrackerEvent>& events) {
    if (addEvents(events)) {
        sound();
    }
}

bool SosAlarms::addEvents(const std::vector<TrackerEvent>& events) {
    bool added = false;
    for (const TrackerEvent& event : events) {
        if (choice_.raises(event.kind)) {
            events_.push_back({event, userNameOf(event.imei)});
            added = true;
        }
    }
    return added;
}

void SosAlarms::sound() {
    if (!beepTimer_.isActive()) {
        beep();  // at once, then every interval until acknowledged
        beepTimer_.start();
    }
    ensureWindow()->showAlarm();
    emit changed();
}

void SosAlarms::acknowledge() {
    if (empty()) {
        return;
    }
    std::vector<TrackerEvent> shown;
    if (!pending_.empty()) {
        shown = pending_.front().sosEvents;
        pending_.pop_front();
    }
    for (const ShownAlarm& alarm : events_) {
        shown.push_back(alarm.event);
    }
    events_.clear();
    recordAcknowledgement(shown);
    if (empty()) {
        beepTimer_.stop();
        if (window_) {
            window_->hide();
        }
    } else if (window_) {
        window_->showAlarm();
    }
    emit changed();
}

void SosAlarms::recordAcknowledgement(const std::vector<TrackerEvent>& events) {
    Database* db = database_ ? database_() : nullptr;
    std::vector<std::int64_t> ids;
    for (const TrackerEvent& event : events) {
        if (event.id != 0) {  // an SOS report stored without its events has none to mark
            ids.push_back(event.id);
        }
    }
    if (db == nullptr || ids.empty()) {
        return;
    }
    try {
        AlarmStore(*db).acknowledge(ids, eventTimeTextAt(std::time(nullptr)), acknowledgerName());
    } catch (const DatabaseError& error) {
        services_.alerts->error(window_, QStringLiteral("The acknowledgement was not stored: ") +
                                             QString::fromStdString(error.what()));
    }
}

std::vector<SosAlarms::ShownAlarm> SosAlarms::shownAlarms() const {
    std::vector<ShownAlarm> shown;
    if (!pending_.empty()) {
        const SosReport& sos = pending_.front();
        shown.push_back({sos.sosEvents.empty() ? sosEventOf(sos.report) : sos.sosEvents.front(),
                         sos.report.userName});
    }
    shown.insert(shown.end(), events_.begin(), events_.end());
    return shown;
}

std::vector<std::string> SosAlarms::pendingImeis() const {
    std::vector<std::string> imeis;
    for (const SosReport& sos : pending_) {
        if (std::find(imeis.begin(), imeis.end(), sos.report.imei) == imeis.end()) {
            imeis.push_back(sos.report.imei);
        }
    }
    return imeis;
}

std::string SosAlarms::userNameOf(const std::string& imei) const {
    const std::optional<UserSlot> user = users_ ? users_->FindUserByImei(imei) : std::nullopt;
    return user ? user->name : imei;
}

void SosAlarms::beep() {
    if (beeper_) {
        beeper_->beep();
    }
}

SosAlarmWindow* SosAlarms::ensureWindow() {
    if (!window_) {
        window_ = new SosAlarmWindow(*this, services_, windowParent_);
    }
    return window_;
}

}  // namespace kv820
