#pragma once

#include <QDialog>

class QPushButton;

namespace kv820 {

class AppContext;
class UserListView;

// "User Edit": the registered users and "Delete", which deletes the user of the row last
// clicked (by its position in the table).
class UserEditDialog : public QDialog {
    Q_OBJECT
  public:
    // Reloads the users first; a failed load is reported to `parent` (the main window).
    UserEditDialog(AppContext& context, QWidget* parent);

    UserListView* userList() const { return userList_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    int selectedUserRow() const { return selectedUserRow_; }

  signals:
    // The user of that name was deleted (whatever showed that user's reports must let
    // them go).
    void userDeleted(const QString& userName);

  private:
    void deleteSelected();

    AppContext& context_;
    QWidget* mainWindow_;
    UserListView* userList_;
    QPushButton* deleteButton_;
    int selectedUserRow_ = -1;
};

}  // namespace kv820
