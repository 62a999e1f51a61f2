#pragma once

#include <QWidget>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace kv820 {

class CommandChannel;
class CommandDispatcher;
struct AppServices;
class ConfigCommandPage;
class TrackingCommandPage;
class UserRegistry;

// The "SMS Command" page: the modem's port, the SMS session toggle, the user that
// commands go to, the modem log, and the tab of the two command pages.
class SmsCommandPage : public QWidget {
    Q_OBJECT
  public:
    // The command pages show their refusals through `services`.
    explicit SmsCommandPage(const AppServices& services, QWidget* parent = nullptr);

    QComboBox* comPortCombo() const { return comPortCombo_; }
    QPushButton* scanButton() const { return scanButton_; }
    QPushButton* startButton() const { return startButton_; }
    QComboBox* userCombo() const { return userCombo_; }
    QPlainTextEdit* modemLog() const { return modemLog_; }
    QTabWidget* commandTab() const { return commandTab_; }
    TrackingCommandPage* trackingPage() const { return trackingPage_; }
    ConfigCommandPage* configPage() const { return configPage_; }
    CommandDispatcher* commandDispatcher() const { return dispatcher_; }

    // Where the command pages look up the user selected in "User Name :".
    void setUserRegistry(const UserRegistry* registry);
    // The session both command pages send through; their send buttons follow it.
    void setCommandChannel(CommandChannel* channel);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QComboBox* comPortCombo_;
    QPushButton* scanButton_;
    QPushButton* startButton_;
    QComboBox* userCombo_;
    QPlainTextEdit* modemLog_;
    QTabWidget* commandTab_;
    CommandDispatcher* dispatcher_;  // before the pages, which are built on it
    TrackingCommandPage* trackingPage_;
    ConfigCommandPage* configPage_;
};

}  // namespace kv820
