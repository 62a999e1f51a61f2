#include "app/common/app_context.h"

#include "app/common/database_messages.h"
#include "core/store/database_error.h"
#include "core/store/gpslog_store.h"
#include "core/store/user_store.h"

namespace kv820 {

AppContext::AppContext(std::string databaseLocation, AppServices services, QObject* parent)
    : QObject(parent), databaseLocation_(std::move(databaseLocation)), services_(services) {}

AppContext::~AppContext() = default;

std::unique_ptr<Database> AppContext::openConnection(QWidget* messageOwner,
                                                     const QString& failure) {
    try {
        return std::make_unique<Database>(databaseLocation_);
    } catch (const DatabaseError&) {
        services_.alerts->error(messageOwner, failure);
        return nullptr;
    }
}

void AppContext::openStore(QWidget* messageOwner) {
    usersConnection_ =
        openConnection(messageOwner, QString::fromLatin1(ConnectionDatabaseFailureText));
    gpslogConnection_ =
        openConnection(messageOwner, QString::fromLatin1(ConnectionGpslogFailureText));
    reloadUsers(messageOwner);
    purgeIncompleteReports(messageOwner);
}

void AppContext::reconnect(QWidget* messageOwner) {
    for (std::unique_ptr<Database>* connection : {&usersConnection_, &gpslogConnection_}) {
        try {
            if (*connection) {
                (*connection)->reconnect();  // the pages keep pointing at the same one
            } else {
                *connection = std::make_unique<Database>(databaseLocation_);
            }
        } catch (const DatabaseError&) {
            // Its reads say so, as at the start; the next return of the server tries again.
        }
    }
    refreshUsers(messageOwner);
}

namespace {

bool sameUsers(const UserRegistry::Snapshot& a, const UserRegistry::Snapshot& b) {
    if (a.userCount != b.userCount) {
        return false;
    }
    for (std::size_t i = 0; i < a.users.size(); ++i) {
        const UserSlot& x = a.users[i];
        const UserSlot& y = b.users[i];
        if (x.name != y.name || x.phone != y.phone || x.imei != y.imei) {
            return false;
        }
    }
    return true;
}

}  // namespace

void AppContext::reloadUsers(QWidget* messageOwner) {
    loadUsers(messageOwner);
    emit usersChanged();
}

void AppContext::refreshUsers(QWidget* messageOwner) {
    const UserRegistry::Snapshot before = registry_.snapshot();
    loadUsers(messageOwner);
    if (!sameUsers(before, registry_.snapshot())) {
        emit usersChanged();
    }
}

void AppContext::loadUsers(QWidget* messageOwner) {
    try {
        if (!usersConnection_) {
            registry_.replace({});
            throw DatabaseError("no users connection");
        }
        LoadUsers(*usersConnection_, registry_);
    } catch (const DatabaseError&) {
        services_.alerts->error(messageOwner, QString::fromLatin1(UsersDatabaseFailureText));
    }
}

void AppContext::purgeIncompleteReports(QWidget* messageOwner) {
    try {
        if (!gpslogConnection_) {
            throw DatabaseError("no gpslog connection");
        }
        GpslogStore(*gpslogConnection_).PurgeIncompleteGpslogRows();
    } catch (const DatabaseError&) {
        services_.alerts->error(messageOwner, QString::fromLatin1(GpslogDatabaseFailureText));
    }
}

}  // namespace kv820
