#include "app/shell/app_context.h"

#include "app/shell/alerts.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/user_store.h"

namespace kv820 {

AppContext::AppContext(std::string databasePath, QObject* parent)
    : QObject(parent), databasePath_(std::move(databasePath)) {}

AppContext::~AppContext() = default;

std::unique_ptr<Database> AppContext::openConnection(QWidget* messageOwner,
                                                     const QString& failure) {
    try {
        return std::make_unique<Database>(databasePath_);
    } catch (const DatabaseError&) {
        alerts().error(messageOwner, failure);
        return nullptr;
    }
}

void AppContext::openStore(QWidget* messageOwner) {
    usersConnection_ = openConnection(messageOwner, QStringLiteral("Connection Database failure."));
    gpslogConnection_ =
        openConnection(messageOwner, QStringLiteral("Connection Gpslog Database failure."));
    reloadUsers(messageOwner);
    purgeIncompleteReports(messageOwner);
}

void AppContext::reloadUsers(QWidget* messageOwner) {
    try {
        if (!usersConnection_) {
            registry_.replace({});
            throw DatabaseError("no users connection");
        }
        LoadUsers(*usersConnection_, registry_);
    } catch (const DatabaseError&) {
        alerts().error(messageOwner, QStringLiteral("Users Database open failure."));
    }
    emit usersChanged();
}

void AppContext::purgeIncompleteReports(QWidget* messageOwner) {
    try {
        if (!gpslogConnection_) {
            throw DatabaseError("no gpslog connection");
        }
        GpslogStore(*gpslogConnection_).PurgeIncompleteGpslogRows();
    } catch (const DatabaseError&) {
        alerts().error(messageOwner, QStringLiteral("Gpslog Database open failure."));
    }
}

}  // namespace kv820
