#include "app/alarms/fence_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/alarms/fence_map_json.h"
#include "core/alarms/geofence_geojson.h"

namespace kv820 {

FenceDialog::FenceDialog(Geofence fence, const UserRegistry::Snapshot& users, QWidget* parent)
    : QDialog(parent),
      fence_(std::move(fence)),
      name_(new QLineEdit(QString::fromStdString(fence_.name))),
      limit_(new QDoubleSpinBox),
      trackers_(new QListWidget),
      problem_(new QLabel) {
    setObjectName(QStringLiteral("fenceDialog"));
    setWindowTitle(QStringLiteral("Geofence"));
    name_->setObjectName(QStringLiteral("fenceNameEdit"));
    limit_->setObjectName(QStringLiteral("fenceLimitBox"));
    // Zero reads as "none": a fence without a speed limit of its own.
    limit_->setRange(0, MaxSpeedLimitKmh);
    limit_->setDecimals(0);
    limit_->setSuffix(QStringLiteral(" km/h"));
    limit_->setSpecialValueText(QStringLiteral("None"));
    limit_->setValue(fence_.speedLimitKmh.value_or(0));
    trackers_->setObjectName(QStringLiteral("fenceTrackerList"));
    trackers_->setAccessibleName(QStringLiteral("Trackers"));
    trackers_->setMinimumHeight(80);
    fillTrackers(users);
    problem_->setObjectName(QStringLiteral("fenceProblemLabel"));
    problem_->setTextFormat(Qt::PlainText);
    problem_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), name_);
    form->addRow(QStringLiteral("&Speed limit:"), limit_);
    auto* trackersLabel =
        new QLabel(QStringLiteral("&Trackers it applies to (none checked: every tracker):"));
    trackersLabel->setWordWrap(true);
    trackersLabel->setBuddy(trackers_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &FenceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FenceDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(trackersLabel);
    layout->addWidget(trackers_, 1);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    resize(360, 320);
}

void FenceDialog::fillTrackers(const UserRegistry::Snapshot& users) {
    std::vector<std::string> unlisted = fence_.imeis;
    for (int slot = 0; slot < users.userCount; ++slot) {
        const UserSlot& user = users.users[static_cast<std::size_t>(slot)];
        if (user.imei.empty()) {
            continue;
        }
        auto* item =
            new QListWidgetItem(QStringLiteral("%1 (%2)").arg(QString::fromStdString(user.name),
                                                              QString::fromStdString(user.imei)),
                                trackers_);
        item->setData(Qt::UserRole, QString::fromStdString(user.imei));
        const bool applies = fence_.appliesTo(user.imei) && !fence_.imeis.empty();
        item->setCheckState(applies ? Qt::Checked : Qt::Unchecked);
        std::erase(unlisted, user.imei);
    }
    // A tracker no longer registered stays in the fence until the operator unchecks it.
    for (const std::string& imei : unlisted) {
        auto* item = new QListWidgetItem(QString::fromStdString(imei), trackers_);
        item->setData(Qt::UserRole, QString::fromStdString(imei));
        item->setCheckState(Qt::Checked);
    }
}

Geofence FenceDialog::fence() const {
    Geofence edited = fence_;
    edited.name = name_->text().trimmed().toStdString();
    edited.speedLimitKmh = limit_->value() > 0 ? std::optional(limit_->value()) : std::nullopt;
    edited.imeis.clear();
    for (int row = 0; row < trackers_->count(); ++row) {
        const QListWidgetItem* item = trackers_->item(row);
        if (item->checkState() == Qt::Checked) {
            edited.imeis.push_back(item->data(Qt::UserRole).toString().toStdString());
        }
    }
    return edited;
}

void FenceDialog::accept() {
    const std::string problem = fenceProblem(fence());
    if (!problem.empty()) {
        problem_->setText(QStringLiteral("This fence cannot be stored: %1.")
                              .arg(QString::fromStdString(problem)));
        name_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace kv820
