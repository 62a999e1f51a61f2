#pragma once

#include <QWidget>
#include <cstddef>
#include <functional>

#include "app/common/app_services.h"
#include "core/alarms/alarm_store.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kv820 {

class Database;
class UserRegistry;

// The "Events" page: the stored events, newest first, of one tracker or all, of one kind or
// all, between two local times; the selected ones can be acknowledged, which records the
// time and the operator's login name. Only the newest ShownEvents that pass the filter are
// read, however many the table holds.
class EventsPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr std::size_t ShownEvents = 1000;

    // Reads and acknowledges through `database` (the window's connection; none: nothing to
    // show); the trackers' names come from `users`.
    EventsPage(const UserRegistry& users, std::function<Database*()> database,
               const AppServices& services, QWidget* parent = nullptr);

    // Reads the events of the filter last applied again (new events arrived).
    void refresh();
    // Refills the tracker filter from the users; the chosen tracker stays chosen.
    void fillTrackers();

    QTableWidget* eventList() const { return list_; }

  signals:
    // The operator acknowledged events here.
    void acknowledged();

  private:
    QLayout* filterRow();
    // Takes the filter of the controls; a time that is none is refused with a message.
    void applyFilter();
    void fill(const std::vector<StoredEvent>& events);
    void acknowledgeSelected();
    QString trackerName(const std::string& imei) const;

    const UserRegistry& users_;
    std::function<Database*()> database_;
    AppServices services_;
    EventFilter filter_;
    QComboBox* tracker_;
    QComboBox* kind_;
    QLineEdit* from_;
    QLineEdit* to_;
    QPushButton* show_;
    QTableWidget* list_;
    QLabel* count_;
    QPushButton* acknowledge_;
};

}  // namespace kv820
