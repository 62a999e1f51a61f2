#include "app/alarms/forwarding_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/common/app_context.h"
#include "app/common/database_messages.h"
#include "app/common/window_alarm_store.h"
#include "core/store/database_error.h"

namespace kv820 {

namespace {

// Enough to see how the last hours went; older forwards stay in the table.
constexpr std::size_t ForwardsListed = 200;

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QStringList rowOf(const LoggedForward& logged, const UserRegistry& users) {
    const Forward& forward = logged.forward;
    const std::optional<UserSlot> user = users.FindUserByImei(logged.imei);
    const std::string event = logged.kind.empty() ? "event " + std::to_string(forward.eventId)
                                                  : (user ? user->name : logged.imei) + " " +
                                                        logged.kind + " " + logged.eventTime;
    return {text(forward.updated),
            text(event),
            text(forwardChannelText(forward.channel)),
            text(forward.destination),
            text(forwardStateText(forward.state)),
            QString::number(forward.attempts),
            text(forward.lastError)};
}

}  // namespace

ForwardingDialog::ForwardingDialog(AppContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      numbers_(new QLineEdit),
      webhook_(new QLineEdit),
      log_(new QTableWidget(0, 7)) {
    setObjectName(QStringLiteral("forwardingDialog"));
    setWindowTitle(QStringLiteral("Event forwarding"));
    log_->setObjectName(QStringLiteral("forwardLog"));
    log_->setAccessibleName(QStringLiteral("Recent forwards"));
    log_->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Event"),
                                     QStringLiteral("By"), QStringLiteral("To"),
                                     QStringLiteral("State"), QStringLiteral("Attempts"),
                                     QStringLiteral("Last error")});
    log_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    log_->setSelectionBehavior(QAbstractItemView::SelectRows);
    log_->setWordWrap(false);
    log_->verticalHeader()->hide();
    log_->horizontalHeader()->setStretchLastSection(true);
    auto* logLabel = new QLabel(QStringLiteral("&Recent forwards:"));
    logLabel->setBuddy(log_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ForwardingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ForwardingDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settingsBox());
    layout->addWidget(logLabel);
    layout->addWidget(log_, 1);
    layout->addWidget(buttons);
    resize(940, 480);
    fillLog();
}

QWidget* ForwardingDialog::settingsBox() {
    numbers_->setObjectName(QStringLiteral("forwardNumbersEdit"));
    numbers_->setPlaceholderText(QStringLiteral("+491701234567, 0912345678"));
    webhook_->setObjectName(QStringLiteral("webhookUrlEdit"));
    webhook_->setPlaceholderText(QStringLiteral("https://example.org/kv820-events"));
    auto* box = new QGroupBox(QStringLiteral("Forward"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Duty &phone numbers:"), numbers_);
    form->addRow(QStringLiteral("&Webhook URL:"), webhook_);
    auto* kindRow = new QHBoxLayout;
    for (const EventKind kind : EventKinds) {
        auto* check = new QCheckBox(text(eventKindText(kind)));
        check->setObjectName(QStringLiteral("forwardKind%1").arg(static_cast<int>(kind)));
        kinds_[kind] = check;
        kindRow->addWidget(check);
    }
    kindRow->addStretch();
    form->addRow(QStringLiteral("Events:"), kindRow);

    ForwardSettings settings;
    try {
        settings = windowForwardStore(context_).settings();
    } catch (const DatabaseError&) {
        context_.services().alerts->error(this, QString::fromLatin1(AlarmSettingsFailureText));
    }
    QStringList numbers;
    for (const std::string& number : settings.phoneNumbers) {
        numbers << text(number);
    }
    numbers_->setText(numbers.join(QStringLiteral(", ")));
    webhook_->setText(text(settings.webhookUrl));
    for (const auto& [kind, check] : kinds_) {
        check->setChecked(settings.kinds.contains(kind));
    }
    return box;
}

void ForwardingDialog::fillLog() {
    std::vector<LoggedForward> forwards;
    try {
        forwards = windowForwardStore(context_).newest(ForwardsListed);
    } catch (const DatabaseError&) {
        return;  // the settings' read said so already
    }
    log_->setRowCount(static_cast<int>(forwards.size()));
    for (int row = 0; row < log_->rowCount(); ++row) {
        const QStringList cells =
            rowOf(forwards[static_cast<std::size_t>(row)], context_.registry());
        for (int column = 0; column < cells.size(); ++column) {
            log_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    log_->resizeColumnsToContents();
}

void ForwardingDialog::accept() {
    ForwardSettings settings;
    settings.phoneNumbers = phoneNumbersOfText(numbers_->text().toStdString());
    settings.webhookUrl = webhook_->text().trimmed().toStdString();
    for (const auto& [kind, check] : kinds_) {
        if (check->isChecked()) {
            settings.kinds.insert(kind);
        }
    }
    if (const std::string error = forwardSettingsError(settings); !error.empty()) {
        context_.services().alerts->error(this, text(error));
        return;
    }
    try {
        windowForwardStore(context_).saveSettings(settings);
    } catch (const DatabaseError&) {
        context_.services().alerts->error(this, QString::fromLatin1(AlarmSettingsFailureText));
        return;
    }
    QDialog::accept();
}

}  // namespace kv820
