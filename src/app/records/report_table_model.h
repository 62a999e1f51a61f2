#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <vector>

#include "core/store/gpslog_store.h"

namespace kv820 {

class Database;

// The rows of one history query (a tracker and a receive range), newest first. Rows are
// fetched from the database a page at a time as the view scrolls to them, so a history of
// a million rows shows its first screen at once and memory grows only with what is seen.
class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int PageSize = static_cast<int>(GpslogStore::HistoryPageRows);

    explicit ReportTableModel(QObject* parent = nullptr);

    // Starts a new query and fetches its first page (which deletes the incomplete rows).
    // Throws DatabaseError; the rows fetched before a failure stay shown.
    void showHistory(Database& db, const ReceiveRange& range, const QString& userName);
    void clear();

    const GpslogRow& rowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)).row; }
    const QString& userName() const { return userName_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The thirteen column headers of both report lists, in order.
    static const QStringList& headers();

  signals:
    // Fetching a further page failed; the rows so far stay.
    void fetchFailed();

  private:
    void fetchPage();

    Database* db_ = nullptr;
    ReceiveRange range_;
    QString userName_;
    std::vector<StoredGpslogRow> rows_;
    bool complete_ = true;
};

}  // namespace kv820
