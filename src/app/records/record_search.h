#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "core/records/search_criteria.h"
#include "core/store/gpslog_store.h"

class QWidget;

namespace kv820 {

class AppContext;
class SearchRecordsPage;

// What "Inquire Records" does on the search page, and the state the export and the user
// dialogs read afterwards: the last search range (user and moments), the IMEI of the last user
// found, and the range of the rows the result list shows.
class RecordSearch : public QObject {
    Q_OBJECT
  public:
    // Messages of the database go to `messageOwner` (the main window); the page owns
    // its own "No user is choosed.".
    RecordSearch(AppContext& context, SearchRecordsPage& page, QWidget* messageOwner,
                 QObject* parent = nullptr);

    // Empties the result, stores the pickers' range, then lists the chosen user's reports
    // of that range, newest first.
    void inquire();

    const SearchCriteria& criteria() const { return range_; }
    const std::string& currentSearchImei() const { return currentSearchImei_; }
    // The range whose rows the result list shows; none while the list is empty because no
    // search ran, it was refused, or its user was deleted.
    const std::optional<ReceiveRange>& shownRange() const { return shownRange_; }

    // Empties the result list when it shows the reports of `userName` (a deleted user).
    void clearResultOf(const QString& userName);
    // Empties the result list; nothing is left to export. Every emptying of the list comes
    // here, so that the export never reads a range the list no longer shows.
    void clearResult();

  signals:
    // An inquiry ended, listed or refused: shownRange() is what it left.
    void inquired();
    // The result list was emptied: whatever was made of its range goes too.
    void resultCleared();

  private:
    void storePickerRange();
    bool chooseUser();
    void showRange(const ReceiveRange& range);

    AppContext& context_;
    SearchRecordsPage& page_;
    QWidget* messageOwner_;
    SearchCriteria range_;
    std::string currentSearchImei_;
    std::optional<ReceiveRange> shownRange_;
};

}  // namespace kv820
