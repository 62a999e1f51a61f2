#pragma once

#include <QDialog>
#include <string>

class QDoubleSpinBox;
class QPushButton;

namespace kv820 {

class AppContext;
class UserListView;

// "User Edit": the registered users and "Delete", which deletes the user of the row last
// clicked (by its position in the table), and the speed limit the program watches that
// user's tracker against (kept beside the users table, never in it).
class UserEditDialog : public QDialog {
    Q_OBJECT
  public:
    // Reloads the users first; a failed load is reported to `parent` (the main window).
    UserEditDialog(AppContext& context, QWidget* parent);

    UserListView* userList() const { return userList_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    int selectedUserRow() const { return selectedUserRow_; }
    QDoubleSpinBox* speedLimitBox() const { return speedLimit_; }
    QPushButton* setLimitButton() const { return setLimitButton_; }

  signals:
    // The user of that name was deleted (whatever showed that user's reports must let
    // them go).
    void userDeleted(const QString& userName);

  private:
    void deleteSelected();
    void placeSpeedLimitRow(int top);
    std::string selectedImei() const;
    void showSpeedLimitOfSelected();
    void storeSpeedLimitOfSelected();

    AppContext& context_;
    QWidget* mainWindow_;
    UserListView* userList_;
    QPushButton* deleteButton_;
    QDoubleSpinBox* speedLimit_;
    QPushButton* setLimitButton_;
    int selectedUserRow_ = -1;
};

}  // namespace kv820
