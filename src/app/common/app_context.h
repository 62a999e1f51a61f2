#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "app/common/app_services.h"
#include "core/store/database.h"
#include "core/store/user_registry.h"

namespace kv820 {

// What the main window owns for the whole run: the two database connections of the UI
// thread, the registry of users and the program's services (message boxes, file dialogs,
// the browser). Workers open their own connections on `databaseLocation`.
class AppContext : public QObject {
    Q_OBJECT
  public:
    // The desktop's services unless a test hands in others.
    explicit AppContext(std::string databaseLocation, AppServices services = {},
                        QObject* parent = nullptr);
    ~AppContext() override;

    // Opens both connections, loads the users and purges incomplete reports, showing each
    // failure's message in this order; start-up goes on after every failure.
    void openStore(QWidget* messageOwner);
    // After a shared database came back: both connections are made anew (one that could
    // not be opened at the start is opened now), and the users are read again.
    void reconnect(QWidget* messageOwner);
    // Reloads the registry from the users table and tells every user list. Shows
    // "Users Database open failure." (owned by `messageOwner`) when it fails.
    void reloadUsers(QWidget* messageOwner);
    // Reloads the registry as reloadUsers does, but tells the user lists only when the
    // table changed behind the program's back: a look at the users refills nothing.
    void refreshUsers(QWidget* messageOwner);

    const std::string& databaseLocation() const { return databaseLocation_; }
    Database* usersConnection() { return usersConnection_.get(); }
    Database* gpslogConnection() { return gpslogConnection_.get(); }
    UserRegistry& registry() { return registry_; }
    const AppServices& services() const { return services_; }

  signals:
    // The registry changed: every user list refills itself.
    void usersChanged();

  private:
    std::unique_ptr<Database> openConnection(QWidget* messageOwner, const QString& failure);
    void purgeIncompleteReports(QWidget* messageOwner);
    void loadUsers(QWidget* messageOwner);

    std::string databaseLocation_;
    AppServices services_;
    std::unique_ptr<Database> usersConnection_;
    std::unique_ptr<Database> gpslogConnection_;
    UserRegistry registry_;
};

}  // namespace kv820
