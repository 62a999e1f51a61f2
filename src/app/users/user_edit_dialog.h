#pragma once

#include <QDialog>

class QPushButton;

namespace kv820 {

class AppContext;
class RecordSearch;
class UserListView;

// "User Edit": the registered users and "Delete", which deletes the user of the row last
// clicked (by its position in the table).
class UserEditDialog : public QDialog {
    Q_OBJECT
  public:
    // Reloads the users first; a failed load is reported to `parent` (the main window).
    // `search` (may be null) loses its result when the user it shows is deleted.
    UserEditDialog(AppContext& context, RecordSearch* search, QWidget* parent);

    UserListView* userList() const { return userList_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    int selectedUserRow() const { return selectedUserRow_; }

  private:
    void deleteSelected();

    AppContext& context_;
    RecordSearch* search_;
    QWidget* mainWindow_;
    UserListView* userList_;
    QPushButton* deleteButton_;
    int selectedUserRow_ = -1;
};

}  // namespace kv820
