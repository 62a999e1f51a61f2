#include "app/users/user_list_view.h"

#include <QHeaderView>

#include "app/common/app_context.h"

namespace kv820 {

UserListView::UserListView(AppContext& context, QWidget* parent)
    : QTreeWidget(parent), context_(context) {
    setHeaderLabels({QStringLiteral("User Name"), QStringLiteral("Phone Number"),
                     QStringLiteral("Module IMEI")});
    setAccessibleName(QStringLiteral("Registered users"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Users are changed only by the setup; a name typed here would never be kept.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    for (int c = 0; c < columnCount(); ++c) {
        setColumnWidth(c, ColumnWidth);
    }
    connect(&context_, &AppContext::usersChanged, this, &UserListView::refill);
    refill();
}

void UserListView::refill() {
    clear();
    const UserRegistry::Snapshot snapshot = context_.registry().snapshot();
    for (const UserSlot& user : snapshot.users) {
        if (user.name.empty()) {
            break;  // the list ends at the first free slot
        }
        addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromStdString(user.name),
                                                        QString::fromStdString(user.phone),
                                                        QString::fromStdString(user.imei)}));
    }
}

}  // namespace kv820
