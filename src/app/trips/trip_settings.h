#pragma once

#include "core/trips/track_summary.h"

namespace kv820 {

// How far a tracker may drift and still stand, each within bounds that keep the finder's
// work sensible; the dialog offers the same bounds.
struct TripSettingBounds {
    const char* key;
    int low;
    int high;
};

inline constexpr TripSettingBounds StopRadiusBounds{"trips/stopRadiusMetres", 10, 5000};
inline constexpr TripSettingBounds ShortestStopBounds{"trips/stopMinimumSeconds", 30, 86400};
inline constexpr TripSettingBounds GapMinutesBounds{"trips/gapMinutes", 5, 1440};

// The operator's tuning of what counts as a stop, kept in the program's settings so that
// the window and `--report trips|stops|summary` find the same trips. A value edited by
// hand in the settings file is kept within the bounds.
TripSettings savedTripSettings();
void saveTripSettings(const TripSettings& settings);

}  // namespace kv820
