#include "app/users/user_edit_dialog.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>

#include "app/common/app_context.h"
#include "app/common/database_messages.h"
#include "app/common/window_alarm_store.h"
#include "app/users/delete_user.h"
#include "app/users/user_list_geometry.h"
#include "app/users/user_list_view.h"
#include "core/alarms/geofence_geojson.h"
#include "core/commands/command_messages.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {
constexpr int ButtonSpacing = 8;
}

UserEditDialog::UserEditDialog(AppContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      mainWindow_(parent),
      userList_(new UserListView(context, this)),
      deleteButton_(new QPushButton(QStringLiteral("Delete"), this)),
      speedLimit_(new QDoubleSpinBox(this)),
      setLimitButton_(new QPushButton(QStringLiteral("Se&t limit"), this)) {
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
    placeSpeedLimitRow(deleteButton_->geometry().top());
    setFixedSize(UserListGeometry.right() + 1 + UserListMargin,
                 deleteButton_->geometry().bottom() + 1 + UserListMargin);

    connect(userList_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        selectedUserRow_ = index.row();
        showSpeedLimitOfSelected();
    });
    connect(setLimitButton_, &QPushButton::clicked, this,
            &UserEditDialog::storeSpeedLimitOfSelected);
    connect(deleteButton_, &QPushButton::clicked, this, &UserEditDialog::deleteSelected);
    context_.reloadUsers(parent);
}

// On the row of "Delete", from the list's left edge: the label, the limit and its button.
void UserEditDialog::placeSpeedLimitRow(int top) {
    auto* label = new QLabel(QStringLiteral("Speed &limit:"), this);
    label->setBuddy(speedLimit_);
    speedLimit_->setObjectName(QStringLiteral("userSpeedLimitBox"));
    // Zero reads as "none": the tracker is watched only against its fences' limits.
    speedLimit_->setRange(0, MaxSpeedLimitKmh);
    speedLimit_->setDecimals(0);
    speedLimit_->setSuffix(QStringLiteral(" km/h"));
    speedLimit_->setSpecialValueText(QStringLiteral("None"));
    speedLimit_->setEnabled(false);
    setLimitButton_->setObjectName(QStringLiteral("setSpeedLimitButton"));
    setLimitButton_->setEnabled(false);
    const int height = deleteButton_->height();
    int left = UserListGeometry.left();
    for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(speedLimit_),
                            static_cast<QWidget*>(setLimitButton_)}) {
        const int width = widget->sizeHint().width();
        widget->setGeometry(left, top, width, height);
        left += width + ButtonSpacing;
    }
}

std::string UserEditDialog::selectedImei() const {
    const QTreeWidgetItem* item = userList_->topLevelItem(selectedUserRow_);
    return item ? item->text(2).toStdString() : std::string();
}

void UserEditDialog::showSpeedLimitOfSelected() {
    const std::string imei = selectedImei();
    speedLimit_->setEnabled(!imei.empty());
    setLimitButton_->setEnabled(!imei.empty());
    try {
        const auto watches = storedWatches(context_);
        const auto watch = watches.find(imei);
        speedLimit_->setValue(watch == watches.end() ? 0 : watch->second.speedLimitKmh.value_or(0));
    } catch (const DatabaseError&) {
        context_.services().alerts->error(this, QString::fromLatin1(AlarmSettingsFailureText));
    }
}

void UserEditDialog::storeSpeedLimitOfSelected() {
    const std::string imei = selectedImei();
    if (imei.empty()) {
        context_.services().alerts->error(this, QString::fromLatin1(NoUserChosenText));
        return;
    }
    try {
        AlarmStore store = windowAlarmStore(context_);
        // The rest of what is watched (the Period interval) stays as it was.
        TrackerWatch watch = store.watches()[imei];
        watch.speedLimitKmh =
            speedLimit_->value() > 0 ? std::optional(speedLimit_->value()) : std::nullopt;
        store.saveWatch(imei, watch);
    } catch (const DatabaseError&) {
        context_.services().alerts->error(this, QString::fromLatin1(AlarmSettingsFailureText));
    }
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
