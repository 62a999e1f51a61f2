#pragma once

#include <QDialog>

namespace kv820 {

class AppContext;
class UserListView;

// "User Information": the registered users as the table holds them when it opens.
class UserInformationDialog : public QDialog {
    Q_OBJECT
  public:
    // Reloads the users first; a failed load is reported to `parent` (the main window).
    UserInformationDialog(AppContext& context, QWidget* parent);

    UserListView* userList() const { return userList_; }

  private:
    UserListView* userList_;
};

}  // namespace kv820
