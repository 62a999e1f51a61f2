#include "app/trips/trip_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "app/trips/trip_settings.h"

namespace kv820 {

namespace {

QSpinBox* spinBox(const char* name, const TripSettingBounds& bounded, int value,
                  const char* suffix) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(bounded.low, bounded.high);
    box->setValue(value);
    box->setSuffix(QString::fromLatin1(suffix));
    return box;
}

}  // namespace

TripSettingsDialog::TripSettingsDialog(const TripSettings& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      radius_(spinBox("stopRadiusSpinBox", StopRadiusBounds,
                      static_cast<int>(settings.stopRadiusMetres), " m")),
      shortestStop_(spinBox("shortestStopSpinBox", ShortestStopBounds,
                            static_cast<int>(settings.stopMinimumSeconds), " s")),
      gapMinutes_(spinBox("gapMinutesSpinBox", GapMinutesBounds,
                          static_cast<int>(settings.gapSeconds / 60), " min")) {
    setObjectName(QStringLiteral("tripSettingsDialog"));
    setWindowTitle(QStringLiteral("Trip settings"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("A stop stays &within:"), radius_);
    form->addRow(QStringLiteral("for at &least:"), shortestStop_);
    form->addRow(QStringLiteral("Check moves across &gaps over:"), gapMinutes_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

TripSettings TripSettingsDialog::settings() const {
    TripSettings settings = settings_;
    settings.stopRadiusMetres = radius_->value();
    settings.stopMinimumSeconds = shortestStop_->value();
    settings.gapSeconds = 60LL * gapMinutes_->value();
    return settings;
}

}  // namespace kv820
