#include "app/map/map_settings.h"

#include "app/common/program_settings.h"

namespace kv820 {

namespace {

const QString TileUrlKey = QStringLiteral("map/tileUrl");
const QString AttributionKey = QStringLiteral("map/tileAttribution");
const QString LatitudeKey = QStringLiteral("map/viewLatitude");
const QString LongitudeKey = QStringLiteral("map/viewLongitude");
const QString ZoomKey = QStringLiteral("map/viewZoom");

}  // namespace

MapTileSource MapSettings::defaultTileSource() {
    return {QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"),
            QStringLiteral("&copy; <a href=\"https://www.openstreetmap.org/copyright\">"
                           "OpenStreetMap</a> contributors")};
}

MapTileSource MapSettings::tileSource() {
    const QSettings settings = programSettings();
    const MapTileSource fallback = defaultTileSource();
    return {settings.value(TileUrlKey, fallback.urlTemplate).toString(),
            settings.value(AttributionKey, fallback.attribution).toString()};
}

void MapSettings::setTileSource(const MapTileSource& source) {
    QSettings settings = programSettings();
    settings.setValue(TileUrlKey, source.urlTemplate);
    settings.setValue(AttributionKey, source.attribution);
}

std::optional<MapView> MapSettings::view() {
    const QSettings settings = programSettings();
    if (!settings.contains(ZoomKey)) {
        return std::nullopt;
    }
    // Stored as numbers, so the user's locale never enters.
    return MapView{settings.value(LatitudeKey).toDouble(), settings.value(LongitudeKey).toDouble(),
                   settings.value(ZoomKey).toInt()};
}

void MapSettings::setView(const MapView& view) {
    QSettings settings = programSettings();
    settings.setValue(LatitudeKey, view.latitude);
    settings.setValue(LongitudeKey, view.longitude);
    settings.setValue(ZoomKey, view.zoom);
}

}  // namespace kv820
