#pragma once

#include <QWidget>

#include "core/commands/config_command_form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv820 {

class CommandDispatcher;

// The "SMS Configuration Command" page of the command tab: one of four tracker settings
// and its values. The controls are the page's only state; pressing "Send Configuration
// Command" reads them, and `dispatcher` checks the session and user and sends.
class ConfigCommandPage : public QWidget {
    Q_OBJECT
  public:
    explicit ConfigCommandPage(CommandDispatcher& dispatcher, QWidget* parent = nullptr);

    QPushButton* sendButton() const { return sendButton_; }
    // The page as it is filled in now.
    ConfigCommandForm form() const;

  private:
    void createControls();
    void layOutControls();
    void connectControls();
    void applyEnablingRules();
    void send();

    CommandDispatcher& dispatcher_;
    QComboBox* parameterCombo_;
    QCheckBox* defaultReturnNumberCheck_;
    QLineEdit* defaultReturnNumberEdit_;
    QComboBox* maximumGpsFixingTimeCombo_;
    QComboBox* defaultReportModeCombo_;
    QLineEdit* reportIntervalEdit_;
    QComboBox* reportFormatCombo_;
    QLineEdit* numberOfReportsEdit_;
    QLineEdit* defaultModeReturnPhoneEdit_;
    QLineEdit* sosNumber1Edit_;
    QLineEdit* sosNumber2Edit_;
    QLineEdit* sosNumber3Edit_;
    QLineEdit* returnPhoneEdit_;
    QPushButton* sendButton_;
};

}  // namespace kv820
