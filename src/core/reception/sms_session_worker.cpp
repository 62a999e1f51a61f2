#include "core/reception/sms_session_worker.h"

#include <algorithm>
#include <utility>

#include "core/alarms/event_time.h"
#include "core/alarms/report_alarms.h"
#include "core/commands/command_queue.h"
#include "core/commands/send_command_sms.h"
#include "core/reception/sms_modem_init.h"
#include "core/reception/stored_message_listing.h"
#include "core/records/search_criteria.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/store_channels.h"
#include "core/store/user_store.h"

namespace kv820 {

SmsSessionWorker::SmsSessionWorker(SerialLink& link, Clock& clock, const UserRegistry& users,
                                   SmsSessionListener& listener, Settings settings)
    : localNow(&kv820::localNow),
      clock_(clock, stop_.get_token()),
      port_(link, clock_),
      users_(users),
      listener_(listener),
      settings_(std::move(settings)) {
    port_.setStrayLog([this](std::string_view bytes) { listener_.modemLog(bytes); });
    port_.setAbandon([this] { return stopRequested(); });
}

SmsSessionWorker::~SmsSessionWorker() = default;

void SmsSessionWorker::run() {
    openDatabase();
    if (!startModem()) {
        listener_.modemLog("COM Port ERROR!!!");
        listener_.sessionStarted(false);
        finish();
        return;
    }
    listener_.sessionStarted(true);
    while (!stopRequested()) {
        setHealth({SessionHealth::State::Receiving, {}, {}, {}, health_.lastReport});
        catchUpStoredMessages();
        readLoop();
        if (stopRequested()) {
            break;
        }
        listener_.modemLog(ModemLostText);
        setHealth({SessionHealth::State::WaitingForModem, {}, {}, {}, health_.lastReport});
        if (!waitForModem()) {
            break;
        }
        listener_.modemLog(ModemBackText);
    }
    finish();
}

void SmsSessionWorker::requestStop() {
    stop_.request_stop();
}

bool SmsSessionWorker::post(SessionJob job) {
    std::lock_guard lock(jobsMutex_);
    if (stopRequested()) {
        return false;
    }
    jobs_.push_back(std::move(job));
    return true;
}

void SmsSessionWorker::closeDatabase() {
    // They hold the connection.
    commands_.reset();
    forwarder_.reset();
    alarms_.reset();
    store_.reset();
    db_.reset();
}

void SmsSessionWorker::openDatabase() {
    closeDatabase();
    try {
        db_ = std::make_unique<Database>(settings_.databaseLocation);
        store_ = std::make_unique<GpslogStore>(*db_);
    } catch (const DatabaseError&) {
        // Reception goes on: each report then stays in the modem, and the log says why.
        closeDatabase();
        if (isServerLocation(settings_.databaseLocation)) {
            scheduleDatabaseRetry();
        }
        return;
    }
    if (databaseRetryAt_) {
        databaseRetryAt_.reset();
        databaseRetryPause_.reset();
        listener_.modemLog(DatabaseBackText);
        lastStoragePoll_.reset();  // what waited in the modem is stored now, not at the next poll
    }
    try {
        if (db_->kind() == Database::Kind::Postgres) {
            db_->listen(UsersChannel);
            db_->listen(CommandsChannel);
            if (CommandQueue::hasTable(*db_)) {
                commands_ = std::make_unique<CommandQueue>(*db_);
            }
            lastNotificationSweep_.reset();  // what was missed while away is looked at now
        }
    } catch (const DatabaseError&) {
        // Reports are stored all the same; the desks' commands wait for another receiver.
    }
    try {
        alarms_ = std::make_unique<ReportAlarms>(*db_);
        forwarder_ = std::make_unique<EventForwarder>(
            *db_, settings_.webhook, [this](std::string_view text) { listener_.modemLog(text); },
            [this](const Forward& forward) { listener_.forwardFailed(forward); });
        forwardsQueued_ = true;  // those a stopped program left
    } catch (const DatabaseError& error) {
        // Reports are stored all the same; only their events are not.
        listener_.modemLog("The alarm tables cannot be used (" + std::string(error.what()) +
                           "): reports are stored without their events.\r\n");
    }
}

GpslogStore* SmsSessionWorker::store() {
    // The file may have been fixed since the session started, the server may be back.
    if (!store_ && (!databaseRetryAt_ || port_.clock().now() >= *databaseRetryAt_)) {
        openDatabase();
    }
    return store_.get();
}

// A lost shared database is reached anew once its pause is over, not only when the next
// report comes: what waits in the modem is then stored at once.
void SmsSessionWorker::reconnectDatabaseWhenDue() {
    if (databaseRetryAt_ && port_.clock().now() >= *databaseRetryAt_) {
        store();
    }
}

void SmsSessionWorker::dropLostServerConnection() {
    if (!db_ || db_->kind() != Database::Kind::Postgres || databaseRetryAt_) {
        return;
    }
    // A connection that failed a store is not trusted again: the next one is a new one.
    closeDatabase();
    listener_.modemLog(DatabaseLostText);
    scheduleDatabaseRetry();
}

void SmsSessionWorker::scheduleDatabaseRetry() {
    databaseRetryAt_ = port_.clock().now() + databaseRetryPause_.take();
}

bool SmsSessionWorker::startModem() {
    std::optional<SmsModemSetup> setup = InitModemForSms(port_, settings_.portEntry);
    if (!setup) {
        return false;
    }
    modem_ = std::move(*setup);
    const std::string store = modem_.stores.inUse.empty() ? "the modem's own store"
                                                          : "store \"" + modem_.stores.inUse + "\"";
    listener_.modemLog(std::string("Messages are read in ") +
                       (modem_.mode == MessageMode::Pdu ? "PDU" : "text") + " mode from " + store +
                       ".\r\n");
    return true;
}

void SmsSessionWorker::catchUpStoredMessages() {
    if (modem_.stores.listed.empty()) {
        catchUpStore("", false);
    }
    for (const std::string& store : modem_.stores.listed) {
        catchUpStore(store, false);
    }
}

void SmsSessionWorker::catchUpStore(const std::string& store, bool unannounced) {
    const ModemLog log = [this](std::string_view text) { listener_.modemLog(text); };
    if (!pointReadsAt(port_, modem_.stores, store, log)) {
        return;
    }
    const StoredMessageListRead read = listStoredMessages(port_, modem_.mode);
    const bool emptyListing =
        read.listing.complete && !read.listing.refused && read.listing.entries.empty();
    if (!emptyListing && !read.reply.empty() && !stopRequested()) {
        logReply(read.reply);  // an empty listing says nothing worth a line
    }
    pointReadsAt(port_, modem_.stores, modem_.stores.inUse, log);
    if (stopRequested() || portGone()) {
        return;
    }
    if (read.listing.refused) {
        listener_.modemLog("The stored SMS could not be listed.\r\n");
        return;
    }
    if (!read.listing.complete) {
        listener_.modemLog("The list of stored SMS did not arrive whole.\r\n");
    }
    // What was left on purpose and is listed no more is gone; what is no received message
    // (the operator's drafts and sent messages) stays for good.
    for (std::set<MessagePlace>* kept : {&leftInModem_, &keptForNow_}) {
        std::erase_if(*kept, [&](const MessagePlace& place) {
            return read.listing.complete && place.store == store &&
                   !read.listing.lists(place.index);
        });
    }
    const std::vector<int> received = read.listing.receivedIndexes();
    for (const StoredMessageEntry& entry : read.listing.entries) {
        if (std::find(received.begin(), received.end(), entry.index) == received.end()) {
            leftInModem_.insert({store, entry.index});
        }
    }
    // Announcements that came meanwhile wait for the reading loop: the messages listed
    // are the older ones. Commands of the operator do not wait.
    for (const int index : received) {
        runQueuedJobs();
        if (stopRequested() || portGone()) {
            return;
        }
        const MessagePlace place{store, index};
        if (unannounced && !leftInModem_.contains(place) && !keptForNow_.contains(place)) {
            listener_.modemLog("SMS " + std::to_string(index) +
                               (store.empty() ? "" : " in \"" + store + "\"") +
                               " was found without an announcement.\r\n");
        }
        handleMessage(place);
    }
}

void SmsSessionWorker::logReply(std::string_view reply) {
    listener_.modemLog(reply);
    listener_.modemLog("\r\n");
}

bool SmsSessionWorker::portGone() {
    portGone_ = portGone_ || (!stopRequested() && port_.gone());
    return portGone_;
}

void SmsSessionWorker::readLoop() {
    lastHeard_ = port_.clock().now();
    lastHealthCheck_.reset();
    lastStoragePoll_.reset();
    while (!stopRequested()) {
        runQueuedJobs();
        handleHeldEvents();  // announcements that came in the jobs' replies
        if (stopRequested()) {
            return;
        }
        checkHealth();
        reconnectDatabaseWhenDue();
        pollStorage();
        checkOverdue();
        forwardEvents();
        sendQueuedCommands();
        if (stopRequested() || modemLost()) {
            return;
        }
        const std::optional<ModemEvent> event = port_.nextEvent();
        if (event) {
            lastHeard_ = port_.clock().now();
            handleEvent(*event);
            handleHeldEvents();  // a burst: the announcements that came in its replies
        }
        if (portGone()) {
            return;  // the adapter was pulled: nothing will ever come again on this port
        }
        if (!event) {
            port_.clock().sleepFor(LinePause);  // an event at once is handled at once
        }
    }
}

bool SmsSessionWorker::modemLost() {
    if (portGone()) {
        return true;
    }
    if (stopRequested()) {
        return false;
    }
    if (port_.clock().now() - lastHeard_ < settings_.quietCheck) {
        return false;
    }
    // A quiet line is normal; a modem that no longer answers is not.
    if (!modemAnswers()) {
        return !stopRequested();
    }
    lastHeard_ = port_.clock().now();
    return false;
}

bool SmsSessionWorker::modemAnswers() {
    // A second try goes through the port's resynchronisation (ESC, then "at" to its "OK").
    return port_.exchange("at", reply_timeout::Quick).ok() ||
           (!stopRequested() && port_.exchange("at", reply_timeout::Quick).ok());
}

bool SmsSessionWorker::waitForModem() {
    GrowingPause pause(FirstRetryPause, LongestRetryPause);
    for (int attempt = 1;; ++attempt) {
        port_.CloseComPort();
        clock_.sleepFor(pause.take());
        if (stopRequested()) {
            return false;
        }
        listener_.modemLog("Trying to start the modem again (attempt " + std::to_string(attempt) +
                           ").\r\n");
        portGone_ = false;
        if (startModem() && !stopRequested()) {
            return true;
        }
        if (stopRequested()) {
            return false;
        }
    }
}

void SmsSessionWorker::checkHealth() {
    const auto now = port_.clock().now();
    if (lastHealthCheck_ && now - *lastHealthCheck_ < settings_.healthInterval) {
        return;
    }
    lastHealthCheck_ = now;
    SessionHealth health = health_;
    health.signalDbm = signalDbmFromReply(port_.exchange("at+csq", reply_timeout::Setting));
    setHealth(health);
}

void SmsSessionWorker::checkOverdue() {
    const auto now = port_.clock().now();
    if (!alarms_ || (lastOverdueCheck_ && now - *lastOverdueCheck_ < settings_.overdueCheck)) {
        return;
    }
    lastOverdueCheck_ = now;
    // Also a sweep for forwards a failed look left behind, and those of overdue trackers.
    forwardsQueued_ = true;
    try {
        const std::vector<TrackerEvent> events =
            alarms_->checkOverdue(now, eventTimeText(localNow()));
        if (!events.empty()) {
            listener_.eventsRaised(events);
        }
    } catch (const DatabaseError&) {
        // Not stored, so not raised: the next check finds the trackers silent still.
    }
}

void SmsSessionWorker::forwardEvents() {
    if (!forwarder_ || stopRequested() || portGone()) {
        return;
    }
    try {
        const auto now = port_.clock().now();
        if (forwardsQueued_) {
            forwardsQueued_ = false;  // a look that fails is tried again at the next sweep
            forwarder_->takeQueued(now);
        }
        forwarder_->runDue(port_, modem_.mode, now);
    } catch (const DatabaseError& error) {
        // The forward stays waiting in the table: the next run of the program sends it.
        listener_.modemLog("A forward could not be recorded (" + std::string(error.what()) +
                           ").\r\n");
    }
}

// The desks' notifications on a shared database's connection: each is noted for the step
// that acts on it. Every storage poll counts as both, for one missed while this receiver
// was away or busy elsewhere. Throws DatabaseError.
void SmsSessionWorker::takeNotifications() {
    if (!db_ || db_->kind() != Database::Kind::Postgres) {
        return;
    }
    for (const std::string& channel : db_->takeNotifications()) {
        commandsNotified_ = commandsNotified_ || channel == CommandsChannel;
        usersNotified_ = usersNotified_ || channel == UsersChannel;
    }
    const auto now = port_.clock().now();
    if (!lastNotificationSweep_ || now - *lastNotificationSweep_ >= settings_.storagePoll) {
        lastNotificationSweep_ = now;
        commandsNotified_ = true;
        usersNotified_ = true;
    }
}

bool SmsSessionWorker::commandsWaiting() {
    takeNotifications();
    return std::exchange(commandsNotified_, false);
}

// A receiver without a window knows a tracker registered at a desk, or by another program on
// the same file, by its next report: before a message is handled, the users are read again
// when they changed.
void SmsSessionWorker::refreshUsers() {
    if (settings_.registryToRefresh == nullptr || !db_) {
        return;
    }
    try {
        takeNotifications();
        bool changed = std::exchange(usersNotified_, false);
        if (db_->kind() == Database::Kind::Sqlite) {
            const std::int64_t version = db_->dataVersion();
            changed = usersVersion_ != version;
            usersVersion_ = version;
        }
        if (changed) {
            LoadUsers(*db_, *settings_.registryToRefresh);
        }
    } catch (const DatabaseError&) {
        // The users stay as they were; the next message looks again.
        usersNotified_ = true;
        usersVersion_.reset();
    }
}

void SmsSessionWorker::sendQueuedCommands() {
    if (!commands_ || stopRequested() || portGone()) {
        return;
    }
    try {
        if (!commandsWaiting()) {
            return;
        }
        while (!stopRequested() && !portGone()) {
            const std::optional<QueuedCommand> command = commands_->claim(settings_.portEntry);
            if (!command) {
                return;
            }
            std::string shown;
            const ModemLog log = [this, &shown](std::string_view written) {
                shown += written;
                listener_.modemLog(written);
            };
            const bool sent =
                SendCommandSms(port_, modem_.mode, log, command->phone, command->text);
            commands_->finish(command->id, sent, shown);
        }
    } catch (const DatabaseError&) {
        // A claimed command whose outcome could not be written stays "sending": the desk
        // that queued it says its outcome is unknown.
        dropLostServerConnection();
    }
}

void SmsSessionWorker::pollStorage() {
    const auto now = port_.clock().now();
    if (stopRequested() || portGone() ||
        (lastStoragePoll_ && now - *lastStoragePoll_ < settings_.storagePoll)) {
        return;
    }
    lastStoragePoll_ = now;
    NewSmsContext context = newSmsContext();
    for (const NewSmsOutcome& outcome : processOverdueParts(context)) {
        publish(outcome);
    }
    const ModemReply reply = port_.exchange("at+cpms?", reply_timeout::Sim);
    if (reply.complete()) {
        lastHeard_ = port_.clock().now();  // the modem answers: no need to ask "at" too
    }
    const std::vector<StoreUse> uses = storeUseFromReply(reply);
    noteStorage(uses);
    // An announcement that came meanwhile is handled first: its message is no stray one.
    handleHeldEvents();
    const std::vector<std::string>& listed = modem_.stores.listed;
    for (const StoreUse& use : uses) {
        // Only stores that may hold received messages are listed (never broadcast or
        // status-report stores, never a name garbled on the wire).
        if (!listed.empty() && std::find(listed.begin(), listed.end(), use.store) == listed.end()) {
            continue;
        }
        const std::string store = modem_.stores.inUse.empty() ? "" : use.store;
        if (static_cast<std::size_t>(use.used) > leftInModemIn(store) && !stopRequested() &&
            !portGone()) {
            if (store == modem_.stores.inUse && health_.simNearlyFull()) {
                // A full SIM refuses new reports: whatever waits in it is handled now.
                listener_.modemLog("The SIM storage is nearly full (" +
                                   std::to_string(*health_.simUsed) + "/" +
                                   std::to_string(*health_.simTotal) +
                                   "): a full SIM refuses new reports. Listing its messages.\r\n");
            }
            catchUpStore(store, true);
        }
        if (store.empty()) {
            break;  // without known stores only the first one is the one read
        }
    }
}

void SmsSessionWorker::noteStorage(const std::vector<StoreUse>& uses) {
    SessionHealth health = health_;
    health.simUsed.reset();
    health.simTotal.reset();
    for (const StoreUse& use : uses) {
        if (use.store == modem_.stores.inUse || modem_.stores.inUse.empty()) {
            health.simUsed = use.used;
            health.simTotal = use.total;
            break;
        }
    }
    setHealth(health);
}

std::size_t SmsSessionWorker::leftInModemIn(const std::string& store) const {
    return std::count_if(leftInModem_.begin(), leftInModem_.end(),
                         [&](const MessagePlace& place) { return place.store == store; });
}

void SmsSessionWorker::setHealth(SessionHealth health) {
    if (health != health_) {
        health_ = std::move(health);
        listener_.healthChanged(health_);
    }
}

void SmsSessionWorker::runQueuedJobs() {
    while (!stopRequested()) {
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
            job(port_, modem_.mode);
        } catch (const std::exception& error) {
            listener_.modemLog(std::string("Exchange failed: ") + error.what() + "\r\n");
        }
    }
}

void SmsSessionWorker::handleHeldEvents() {
    // Handling one announcement reads replies, which may queue further ones (a burst).
    // Once the port is gone the rest stay in the modem: each would wait out a read.
    while (!stopRequested() && !portGone()) {
        const std::optional<ModemEvent> event = port_.nextEvent(ComPort::Wait::No);
        if (!event) {
            return;
        }
        handleEvent(*event);
    }
}

NewSmsContext SmsSessionWorker::newSmsContext() {
    GpslogStore* gpslog = store();
    return NewSmsContext{port_,
                         users_,
                         gpslog,
                         [this](std::string_view text) { listener_.modemLog(text); },
                         modem_.mode,
                         &modem_.stores,
                         &parts_,
                         gpslog ? alarms_.get() : nullptr,
                         port_.clock().now()};
}

void SmsSessionWorker::handleEvent(const ModemEvent& event) {
    // The line goes to the log as a line, so that the log's line rule is applied to modem
    // lines only; replies and status texts of the handling are appended as given.
    listener_.modemLine(event.line);
    if (event.announced) {
        handleMessage(*event.announced);
    }
}

void SmsSessionWorker::handleMessage(const MessagePlace& place) {
    NewSmsContext context = newSmsContext();
    refreshUsers();
    publish(ProcessNewSms(place, context));
}

void SmsSessionWorker::publish(const NewSmsOutcome& outcome) {
    for (const MessagePlace& place : outcome.places) {
        leftInModem_.erase(place);
        keptForNow_.erase(place);
        if (outcome.keptForGood()) {
            leftInModem_.insert(place);
        } else if (outcome.keptForNow()) {
            keptForNow_.insert(place);
        }
    }
    if (outcome.kind == NewSmsOutcome::Kind::StoreFailed) {
        dropLostServerConnection();
        listener_.reportStoreFailed(*outcome.report, outcome.failure);
        return;
    }
    if (!outcome.hasStoredReport()) {
        return;
    }
    StoredReportEvent event;
    event.report = *outcome.report;
    event.alreadyStored = outcome.kind == NewSmsOutcome::Kind::ReportAlreadyStored;
    event.events = outcome.events;
    forwardsQueued_ = forwardsQueued_ || !event.events.empty();
    event.historyRange = SearchCriteria::yearsAround(localNow()).receiveRange(event.report.imei);
    listener_.reportStored(event);
    SessionHealth health = health_;
    health.lastReport = event.report.receiveMomentText();
    setHealth(health);
}

void SmsSessionWorker::finish() {
    port_.CloseComPort();
    setHealth({});
    {
        std::lock_guard lock(jobsMutex_);
        stop_.request_stop();
        jobs_.clear();
    }
    listener_.sessionEnded();
}

}  // namespace kv820
