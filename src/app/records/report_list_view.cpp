#include "app/records/report_list_view.h"

#include <QHeaderView>

#include "app/records/report_table_model.h"

namespace kv820 {

namespace {
constexpr int ColumnWidth = 100;
}

ReportListView::ReportListView(QWidget* parent)
    : QTableView(parent), model_(new ReportTableModel(this)) {
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    horizontalHeader()->setStretchLastSection(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) {
            return;
        }
        emit pointActivated(model_->index(index.row(), 3).data().toString(),
                            model_->index(index.row(), 4).data().toString());
    });
}

}  // namespace kv820
