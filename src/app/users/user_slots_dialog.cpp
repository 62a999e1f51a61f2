#include "app/users/user_slots_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "app/common/app_context.h"
#include "app/common/database_messages.h"
#include "core/store/database_error.h"
#include "core/store/user_slots.h"

namespace kv820 {

UserSlotsDialog::UserSlotsDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), slotCount_(new QSpinBox) {
    setObjectName(QStringLiteral("userSlotsDialog"));
    setWindowTitle(QStringLiteral("Trackers (user slots)"));
    slotCount_->setObjectName(QStringLiteral("userSlotsSpinBox"));
    slotCount_->setRange(static_cast<int>(UserRegistry::MaxUsers),
                         static_cast<int>(UserRegistry::MostUserSlots));
    slotCount_->setValue(static_cast<int>(context_.registry().snapshot().users.size()));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Trackers (user slots):"), slotCount_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &UserSlotsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void UserSlotsDialog::accept() {
    const int registered = context_.registry().userCount();
    if (slotCount_->value() < registered) {
        context_.services().alerts->error(
            this, QStringLiteral("%1 trackers are registered: delete some in User Edit before "
                                 "choosing fewer slots.")
                      .arg(registered));
        return;
    }
    try {
        if (context_.usersConnection() == nullptr) {
            throw DatabaseError("no users connection");
        }
        storeUserSlots(*context_.usersConnection(), static_cast<std::size_t>(slotCount_->value()));
    } catch (const DatabaseError&) {
        context_.services().alerts->error(this, QString::fromLatin1(UsersDatabaseFailureText));
        return;
    }
    context_.reloadUsers(this);
    QDialog::accept();
}

}  // namespace kv820
