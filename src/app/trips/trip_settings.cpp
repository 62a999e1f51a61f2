#include "app/trips/trip_settings.h"

#include <QSettings>
#include <algorithm>

#include "app/common/program_settings.h"

namespace kv820 {

namespace {

int read(const QSettings& settings, const TripSettingBounds& bounds, int fallback) {
    bool ok = false;
    const int value = settings.value(QString::fromLatin1(bounds.key), fallback).toInt(&ok);
    return std::clamp(ok ? value : fallback, bounds.low, bounds.high);
}

}  // namespace

TripSettings savedTripSettings() {
    const QSettings stored = programSettings();
    TripSettings settings;
    settings.stopRadiusMetres =
        read(stored, StopRadiusBounds, static_cast<int>(settings.stopRadiusMetres));
    settings.stopMinimumSeconds =
        read(stored, ShortestStopBounds, static_cast<int>(settings.stopMinimumSeconds));
    settings.gapSeconds =
        60LL * read(stored, GapMinutesBounds, static_cast<int>(settings.gapSeconds / 60));
    return settings;
}

void saveTripSettings(const TripSettings& settings) {
    QSettings stored = programSettings();
    stored.setValue(QString::fromLatin1(StopRadiusBounds.key),
                    static_cast<int>(settings.stopRadiusMetres));
    stored.setValue(QString::fromLatin1(ShortestStopBounds.key),
                    static_cast<int>(settings.stopMinimumSeconds));
    stored.setValue(QString::fromLatin1(GapMinutesBounds.key),
                    static_cast<int>(settings.gapSeconds / 60));
}

}  // namespace kv820
