#include "app/records/report_table_model.h"

#include <QColor>

#include "core/records/report_list_headers.h"
#include "core/report/report_kinds.h"
#include "core/store/database_error.h"

namespace kv820 {

ReportTableModel::ReportTableModel(QObject* parent) : QAbstractTableModel(parent) {}

const QStringList& ReportTableModel::headers() {
    static const QStringList Names = [] {
        QStringList list;
        for (const std::string_view header : ReportListHeaders) {
            list.append(QString::fromLatin1(header.data(), static_cast<qsizetype>(header.size())));
        }
        return list;
    }();
    return Names;
}

void ReportTableModel::clear() {
    beginResetModel();
    rows_.clear();
    db_ = nullptr;
    complete_ = true;
    endResetModel();
}

void ReportTableModel::showHistory(Database& db, const ReceiveRange& range,
                                   const QString& userName) {
    clear();
    db_ = &db;
    range_ = range;
    userName_ = userName;
    complete_ = false;
    try {
        fetchPage();
    } catch (const DatabaseError&) {
        complete_ = true;
        throw;
    }
}

void ReportTableModel::fetchPage() {
    std::optional<HistoryPosition> after;
    if (!rows_.empty()) {
        after = rows_.back().position();
    }
    GpslogStore store(*db_);
    auto page = store.newestFirst(range_, after, PageSize);
    complete_ = page.size() < PageSize;
    if (page.empty()) {
        return;
    }
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    std::move(page.begin(), page.end(), std::back_inserter(rows_));
    endInsertRows();
}

bool ReportTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !complete_ && db_ != nullptr;
}

void ReportTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    try {
        fetchPage();
    } catch (const DatabaseError&) {
        complete_ = true;
        emit fetchFailed();
    }
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(GpslogColumnCount);
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const GpslogRow& row = rowAt(index.row());
    if (role == Qt::DisplayRole) {
        // The imei column names the user the query was made for; the others are stored texts.
        if (static_cast<std::size_t>(index.column()) == Imei) {
            return userName_;
        }
        return QString::fromStdString(row[static_cast<std::size_t>(index.column())]);
    }
    // An SOS report stands out in every list.
    if (role == Qt::ForegroundRole && row[MessageStatus] == SosReportText) {
        return QColor(Qt::red);
    }
    return {};
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers().size()) {
        return headers().at(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace kv820
