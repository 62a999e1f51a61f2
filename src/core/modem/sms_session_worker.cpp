#include "core/modem/sms_session_worker.h"

#include "core/modem/new_sms_index.h"
#include "core/modem/sms_modem_init.h"
#include "core/records/receive_range_builder.h"
#include "core/records/report_history.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"

namespace kv820 {

SmsSessionWorker::SmsSessionWorker(SerialLink& link, Clock& clock, const UserRegistry& users,
                                   SmsSessionListener& listener, Settings settings)
    : localNow(LocalNow),
      port_(link, clock),
      users_(users),
      listener_(listener),
      settings_(std::move(settings)) {}

SmsSessionWorker::~SmsSessionWorker() = default;

void SmsSessionWorker::run() {
    openDatabase();
    if (!InitModemForSms(port_, settings_.portEntry)) {
        listener_.modemLog("COM Port ERROR!!!");
        listener_.sessionStarted(false);
        finish();
        return;
    }
    listener_.sessionStarted(true);
    readLoop();
    finish();
}

void SmsSessionWorker::requestStop() {
    stop_ = true;
}

bool SmsSessionWorker::post(SessionJob job) {
    std::lock_guard lock(jobsMutex_);
    if (stop_) {
        return false;
    }
    jobs_.push_back(std::move(job));
    return true;
}

void SmsSessionWorker::openDatabase() {
    try {
        db_ = std::make_unique<Database>(settings_.databasePath);
        store_ = std::make_unique<GpslogStore>(*db_);
    } catch (const DatabaseError&) {
        // Reception goes on: each report then stays in the modem, and the log says why.
        store_.reset();
        db_.reset();
    }
}

GpslogStore* SmsSessionWorker::store() {
    if (!store_) {
        openDatabase();  // the file may have been fixed since the session started
    }
    return store_.get();
}

void SmsSessionWorker::readLoop() {
    const auto stopping = [this] { return stop_.load(); };
    while (!stop_) {
        runQueuedJobs();
        handleQueuedAnnouncements();
        if (stop_) {
            break;
        }
        if (const auto line = reader_.ReadModemLine(port_, stopping)) {
            handleLine(*line);
        }
        handleQueuedAnnouncements();
        if (port_.link().vanished()) {
            // The adapter was pulled: nothing will ever come again on this port.
            listener_.modemLog(PortVanishedText);
            break;
        }
        port_.clock().sleepFor(LinePause);
    }
}

void SmsSessionWorker::runQueuedJobs() {
    while (!stop_) {
        SessionJob job;
        {
            std::lock_guard lock(jobsMutex_);
            if (jobs_.empty()) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        try {
            job(port_);
        } catch (const std::exception& error) {
            listener_.modemLog(std::string("Exchange failed: ") + error.what() + "\r\n");
        }
    }
}

void SmsSessionWorker::handleQueuedAnnouncements() {
    // Handling one announcement reads replies, which may queue further ones (a burst).
    while (!stop_) {
        const std::optional<std::string> line = port_.TakeAnnouncement();
        if (!line) {
            return;
        }
        handleLine(*line);
    }
}

void SmsSessionWorker::handleLine(const std::string& line) {
    // The line goes to the log as a line, so that the log's line rule is applied to modem
    // lines only; replies and status texts of the handling are appended as given.
    listener_.modemLine(line);
    if (!IsNewSmsAnnouncement(line)) {
        return;
    }
    NewSmsContext context{port_, users_, store(),
                          [this](std::string_view text) { listener_.modemLog(text); }};
    publish(ProcessNewSms(line, context));
}

void SmsSessionWorker::publish(const NewSmsOutcome& outcome) {
    if (outcome.kind == NewSmsOutcome::Kind::StoreFailed) {
        listener_.reportStoreFailed(*outcome.report, outcome.failure);
        return;
    }
    if (!outcome.hasStoredReport()) {
        return;
    }
    StoredReportEvent event;
    event.report = *outcome.report;
    event.alreadyStored = outcome.kind == NewSmsOutcome::Kind::ReportAlreadyStored;
    event.historyRange = RecentReportsRange(event.report.imei, localNow());
    try {
        GpslogStore* gpslog = store();
        if (gpslog == nullptr) {
            throw DatabaseError("no database connection");
        }
        event.history = LoadReportHistory(*gpslog, event.historyRange);
    } catch (const DatabaseError& error) {
        event.historyFailure = error.what();
    }
    listener_.reportStored(event);
}

void SmsSessionWorker::finish() {
    port_.CloseComPort();
    {
        std::lock_guard lock(jobsMutex_);
        stop_ = true;
        jobs_.clear();
    }
    listener_.sessionEnded();
}

}  // namespace kv820
