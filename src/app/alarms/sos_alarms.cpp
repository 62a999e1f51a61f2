#include "app/alarms/sos_alarms.h"

#include <algorithm>

#include "app/alarms/alarm_beeper.h"
#include "app/alarms/sos_alarm_window.h"
#include "core/report/report_kinds.h"

namespace kv820 {

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

void SosAlarms::raise(const PositionReport& report) {
    if (report.kindText != SosReportText) {
        return;
    }
    pending_.push_back(report);
    if (!beepTimer_.isActive()) {
        beep();  // at once, then every interval until acknowledged
        beepTimer_.start();
    }
    SosAlarmWindow* window = ensureWindow();
    window->showAlarm();
    emit changed();
}

void SosAlarms::acknowledge() {
    if (pending_.empty()) {
        return;
    }
    pending_.pop_front();
    if (pending_.empty()) {
        beepTimer_.stop();
        if (window_) {
            window_->hide();
        }
    } else if (window_) {
        window_->showAlarm();
    }
    emit changed();
}

std::vector<std::string> SosAlarms::pendingImeis() const {
    std::vector<std::string> imeis;
    for (const PositionReport& report : pending_) {
        if (std::find(imeis.begin(), imeis.end(), report.imei) == imeis.end()) {
            imeis.push_back(report.imei);
        }
    }
    return imeis;
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
