#include "app/users/user_edit_dialog.h"

#include <QPushButton>

#include "app/common/app_context.h"
#include "app/users/delete_user.h"
#include "app/users/user_list_geometry.h"
#include "app/users/user_list_view.h"
#include "core/commands/command_messages.h"

namespace kv820 {

namespace {
constexpr int ButtonSpacing = 8;
}

UserEditDialog::UserEditDialog(AppContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      mainWindow_(parent),
      userList_(new UserListView(context, this)),
      deleteButton_(new QPushButton(QStringLiteral("Delete"), this)) {
    setObjectName(QStringLiteral("userEditDialog"));
    setWindowTitle(QStringLiteral("User Edit"));
    userList_->setObjectName(QStringLiteral("userEditList"));
    userList_->setGeometry(UserListGeometry);
    deleteButton_->setObjectName(QStringLiteral("deleteUserButton"));
    deleteButton_->setDefault(true);

    // "Delete" sits below the list at its right edge; the dialog grows around both.
    const QSize button = deleteButton_->sizeHint().expandedTo(QSize(75, 23));
    deleteButton_->setGeometry(UserListGeometry.right() + 1 - button.width(),
                               UserListGeometry.bottom() + 1 + ButtonSpacing, button.width(),
                               button.height());
    setFixedSize(UserListGeometry.right() + 1 + UserListMargin,
                 deleteButton_->geometry().bottom() + 1 + UserListMargin);

    connect(userList_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { selectedUserRow_ = index.row(); });
    connect(deleteButton_, &QPushButton::clicked, this, &UserEditDialog::deleteSelected);
    context_.reloadUsers(parent);
}

void UserEditDialog::deleteSelected() {
    if (selectedUserRow_ < 0) {
        context_.services().alerts->error(this, QString::fromLatin1(NoUserChosenText));
        return;
    }
    const int position = selectedUserRow_;
    selectedUserRow_ = -1;
    delete userList_->takeTopLevelItem(position);
    // The reload refills the list from the table, so after a failed delete it shows the
    // user again instead of a list that no longer matches the table.
    const auto deleted =
        DeleteUser(context_, static_cast<std::size_t>(position), this, mainWindow_);
    if (deleted) {
        emit userDeleted(QString::fromStdString(*deleted));
    }
}

}  // namespace kv820
