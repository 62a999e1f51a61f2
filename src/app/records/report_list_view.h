#pragma once

#include <QTableView>

namespace kv820 {

class ReportTableModel;

// A report list: full-row selection, thirteen left-aligned columns of 100 pixels.
class ReportListView : public QTableView {
    Q_OBJECT
  public:
    explicit ReportListView(QWidget* parent = nullptr);

    ReportTableModel* reportModel() const { return model_; }

  signals:
    // A row was double-clicked: its latitude (column 3) and longitude (column 4) texts.
    void pointActivated(const QString& latitude, const QString& longitude);

  private:
    ReportTableModel* model_;
};

}  // namespace kv820
