#include "app/reception/shared_desk.h"

#include <QSocketNotifier>

#include "core/common/clock.h"
#include "core/reception/report_feed.h"
#include "core/records/search_criteria.h"
#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/store_channels.h"

namespace kv820 {

SharedDesk::SharedDesk(std::string location, const UserRegistry& users, QObject* parent)
    : QObject(parent), location_(std::move(location)), users_(users), clock_(&systemClock()) {
    timer_.setInterval(LookInterval);
    connect(&timer_, &QTimer::timeout, this, &SharedDesk::look);
    timer_.start();
    connectIfDue();
}

SharedDesk::~SharedDesk() = default;

bool SharedDesk::connectIfDue() {
    if (db_) {
        return true;
    }
    if (clock_->now() < retryAt_) {
        return false;
    }
    try {
        auto db = std::make_unique<Database>(location_);
        if (feed_) {
            feed_->reconnect(*db);
        } else {
            feed_ = std::make_unique<ReportFeed>(*db, users_);
        }
        db->listen(CommandsChannel);
        db->listen(UsersChannel);
        db_ = std::move(db);
    } catch (const DatabaseError& error) {
        drop(QString::fromStdString(error.what()));
        return false;
    }
    retryPause_.reset();
    // The server's messages wake the desk at once.
    notifier_ = new QSocketNotifier(db_->notificationSocket(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SharedDesk::look);
    emit connectionChanged({});
    return true;
}

void SharedDesk::drop(const QString& why) {
    if (notifier_) {
        // The look that failed may have been called from this very notifier.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    db_.reset();
    retryAt_ = clock_->now() + retryPause_.take();
    emit connectionChanged(why);
}

void SharedDesk::look() {
    if (!connectIfDue()) {
        return;
    }
    FeedNews news;
    bool usersNotified = false;
    try {
        // Each says only: look now.
        for (const std::string& channel : db_->takeNotifications()) {
            usersNotified = usersNotified || channel == UsersChannel;
        }
        news = feed_->read(clock_->now(), localNow());
    } catch (const DatabaseError& error) {
        drop(QString::fromStdString(error.what()));
        return;
    }
    if (usersNotified) {
        emit usersChanged();  // first: the reports may come from a tracker just registered
    }
    for (const StoredReportEvent& event : news.reports) {
        emit reportReceived(event);
    }
    if (!news.events.empty()) {
        emit eventsRaised(news.events);
    }
    emit commandsChanged();
    if (news.reports.size() == ReportFeed::RowsPerLook) {
        QTimer::singleShot(0, this, &SharedDesk::look);  // the rest of a long absence
    }
}

}  // namespace kv820
