#include "app/records/record_search.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>

#include "app/common/app_context.h"
#include "app/records/report_list_view.h"
#include "app/records/report_table_model.h"
#include "app/records/search_records_page.h"
#include "core/commands/command_messages.h"
#include "core/records/records_messages.h"
#include "core/records/search_criteria.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

const QString InquireFailure = QString::fromLatin1(InquireGpslogFailureText);

SearchCriteria::Moment momentOf(const QDateEdit* date, const QTimeEdit* time) {
    const QDate d = date->date();
    const QTime t = time->time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

}  // namespace

RecordSearch::RecordSearch(AppContext& context, SearchRecordsPage& page, QWidget* messageOwner,
                           QObject* parent)
    : QObject(parent), context_(context), page_(page), messageOwner_(messageOwner) {
    connect(page_.inquireButton(), &QPushButton::clicked, this, &RecordSearch::inquire);
    // A later page of a long result is read as the list scrolls; its failure is the
    // search's failure all the same.
    connect(page_.resultList()->reportModel(), &ReportTableModel::fetchFailed, this,
            [this] { context_.services().alerts->error(messageOwner_, InquireFailure); });
}

void RecordSearch::inquire() {
    clearResult();
    // The range is kept even when no user can be searched: the export's title reads it.
    storePickerRange();
    if (!chooseUser()) {
        context_.services().alerts->error(&page_, QString::fromLatin1(NoUserChosenText));
        emit inquired();
        return;
    }
    showRange(range_.receiveRange(currentSearchImei_));
    emit inquired();
}

void RecordSearch::clearResult() {
    page_.resultList()->reportModel()->clear();
    shownRange_.reset();
    emit resultCleared();
}

void RecordSearch::storePickerRange() {
    range_.start = momentOf(page_.startDate(), page_.startTime());
    range_.stop = momentOf(page_.stopDate(), page_.stopTime());
}

bool RecordSearch::chooseUser() {
    const QComboBox* combo = page_.userCombo();
    if (combo->currentIndex() < 0) {
        return false;
    }
    range_.userName = cutToBytes(combo->currentText().toStdString(), UserRegistry::SlotCapacity);
    // A name no registered user has (or a free slot) is never searched: the IMEI of an
    // earlier search would list another tracker's reports under this name.
    const auto user = context_.registry().FindUserByName(range_.userName);
    if (!user) {
        return false;
    }
    currentSearchImei_ = user->imei;
    return true;
}

void RecordSearch::showRange(const ReceiveRange& range) {
    Database* db = context_.gpslogConnection();
    if (db == nullptr) {
        context_.services().alerts->error(messageOwner_, InquireFailure);
        return;
    }
    shownRange_ = range;
    try {
        page_.resultList()->reportModel()->showHistory(*db, range,
                                                       QString::fromStdString(range_.userName));
    } catch (const DatabaseError&) {
        // The rows listed before the failure stay, and so does their range.
        context_.services().alerts->error(messageOwner_, InquireFailure);
    }
}

void RecordSearch::clearResultOf(const QString& userName) {
    // An empty list of that user goes too: its range must not be exported any more.
    if (shownRange_ && page_.resultList()->reportModel()->userName() == userName) {
        clearResult();
    }
}

}  // namespace kv820
