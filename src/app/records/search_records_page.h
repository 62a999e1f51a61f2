#pragma once

#include <QWidget>

class QComboBox;
class QDateEdit;
class QPushButton;
class QTabWidget;
class QTimeEdit;

namespace kv820 {

class ReportListView;

// The "Search Records" page: a user, a start and a stop date and time, and the result
// list of the last inquiry, newest first, as the first of the result's tabs (the main
// window adds the others: what else is made of the same range).
class SearchRecordsPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int ListTop = 128;

    explicit SearchRecordsPage(QWidget* parent = nullptr);

    QComboBox* userCombo() const { return userCombo_; }
    QDateEdit* startDate() const { return startDate_; }
    QTimeEdit* startTime() const { return startTime_; }
    QDateEdit* stopDate() const { return stopDate_; }
    QTimeEdit* stopTime() const { return stopTime_; }
    QPushButton* inquireButton() const { return inquireButton_; }
    ReportListView* resultList() const { return resultList_; }
    QTabWidget* resultTabs() const { return resultTabs_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QDateEdit* startDate_;
    QTimeEdit* startTime_;
    QDateEdit* stopDate_;
    QTimeEdit* stopTime_;
    QComboBox* userCombo_;
    QPushButton* inquireButton_;
    QTabWidget* resultTabs_;
    ReportListView* resultList_;
};

}  // namespace kv820
