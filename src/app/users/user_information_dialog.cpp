#include "app/users/user_information_dialog.h"

#include "app/common/app_context.h"
#include "app/users/user_list_geometry.h"
#include "app/users/user_list_view.h"

namespace kv820 {

UserInformationDialog::UserInformationDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), userList_(new UserListView(context, this)) {
    setObjectName(QStringLiteral("userInformationDialog"));
    setWindowTitle(QStringLiteral("User Information"));
    userList_->setObjectName(QStringLiteral("userInformationList"));
    userList_->setGeometry(UserListGeometry);
    context.refreshUsers(parent);
    setFixedSize(UserListGeometry.right() + 1 + UserListMargin,
                 UserListGeometry.bottom() + 1 + UserListMargin);
}

}  // namespace kv820
