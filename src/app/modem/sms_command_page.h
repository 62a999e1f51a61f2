#pragma once

#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace kv820 {

class ConfigCommandPage;
class TrackingCommandPage;

// The "SMS Command" page: the modem's port, the SMS session toggle, the user that
// commands go to, the modem log, and the tab of the two command pages.
class SmsCommandPage : public QWidget {
    Q_OBJECT
  public:
    explicit SmsCommandPage(QWidget* parent = nullptr);

    QComboBox* comPortCombo() const { return comPortCombo_; }
    QPushButton* scanButton() const { return scanButton_; }
    QPushButton* startButton() const { return startButton_; }
    QComboBox* userCombo() const { return userCombo_; }
    QPlainTextEdit* modemLog() const { return modemLog_; }
    QTabWidget* commandTab() const { return commandTab_; }
    TrackingCommandPage* trackingPage() const { return trackingPage_; }
    ConfigCommandPage* configPage() const { return configPage_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QComboBox* comPortCombo_;
    QPushButton* scanButton_;
    QPushButton* startButton_;
    QComboBox* userCombo_;
    QPlainTextEdit* modemLog_;
    QTabWidget* commandTab_;
    TrackingCommandPage* trackingPage_;
    ConfigCommandPage* configPage_;
};

}  // namespace kv820
