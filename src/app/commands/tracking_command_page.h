#pragma once

#include <QWidget>

#include "core/commands/tracking_command_form.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv820 {

class CommandDispatcher;

// The "SMS Tracking Command" page of the command tab: report mode, reporting fields and a
// rectangle or circle geofence. The controls are the page's only state; pressing "Send
// Tracking Command" reads them, and `dispatcher` checks the session and user and sends.
class TrackingCommandPage : public QWidget {
    Q_OBJECT
  public:
    explicit TrackingCommandPage(CommandDispatcher& dispatcher, QWidget* parent = nullptr);

    QPushButton* sendButton() const { return sendButton_; }
    // The page as it is filled in now.
    TrackingCommandForm form() const;

  private:
    void createControls();
    void layOutControls();
    void connectControls();
    GeofenceShape checkedShape() const;
    void applyEnablingRules(GeofenceShape shape);
    void send();

    CommandDispatcher& dispatcher_;
    QComboBox* reportModeCombo_;
    QLineEdit* reportIntervalEdit_;
    QComboBox* reportFormatCombo_;
    QLineEdit* numberOfReportsEdit_;
    QCheckBox* rectangleCheck_;
    QLineEdit* longitude1Edit_;
    QLineEdit* latitude1Edit_;
    QLineEdit* longitude2Edit_;
    QLineEdit* latitude2Edit_;
    QCheckBox* circleCheck_;
    QButtonGroup* shapeGroup_;
    QLineEdit* circleLongitudeEdit_;
    QLineEdit* circleLatitudeEdit_;
    QLineEdit* radiusEdit_;
    QComboBox* inOutCombo_;
    QLineEdit* returnPhoneEdit_;
    QPushButton* sendButton_;
};

}  // namespace kv820
