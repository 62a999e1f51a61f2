#pragma once

namespace kv820 {

// What the operator reads about the maps: the web map a report list, the tracking page and
// the SOS alarm open in the browser, and the "Map" page. They are the program's own texts,
// spelling included.

// The web map could not be opened: from a report list or the SOS alarm, and from the
// tracking page while "View Tracking Points" is checked.
inline constexpr char OpenWebMapFailureText[] = "Open Google map is fail.";
inline constexpr char ShowWebMapFailureText[] = "Show Google map is fail.";

// "Show on map" on a report without a position.
inline constexpr char NoPositionToShowText[] = "This report has no position to show.";

// The "Map" page's notices.
inline constexpr char TilesUnavailableNotice[] =
    "Map tiles cannot be loaded: markers and tracks are shown on a plain background.";
// %1: why the tile file or folder gives no tiles, as the core says it.
inline constexpr char TileSourceUnavailableNotice[] =
    "Map tiles cannot be loaded: %1 Markers and tracks are shown on a plain background.";
inline constexpr char PageUnavailableNotice[] = "The map page cannot be loaded.";
inline constexpr char PositionsUnreadableNotice[] =
    "The trackers' positions cannot be read from the database.";
inline constexpr char FencesUnreadableNotice[] = "The geofences cannot be read from the database.";
inline constexpr char ShapeRefusedNotice[] =
    "The drawn shape cannot be a geofence: it needs at least 3 corners on the Earth, or a "
    "radius up to 1000 km.";

}  // namespace kv820
