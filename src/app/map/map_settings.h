#pragma once

#include <QString>
#include <optional>

namespace kv820 {

// What the map page keeps between runs (QSettings, group "map"): the tile source and the
// last view.
struct MapTileSource {
    QString urlTemplate;  // Leaflet's template: {z}, {x}, {y}, optionally {s}
    QString attribution;  // HTML, shown in the map's corner as the tile server requires
};

struct MapView {
    double latitude = 0;
    double longitude = 0;
    int zoom = 0;
};

class MapSettings {
  public:
    // The public OpenStreetMap tile server, with the attribution its licence requires.
    static MapTileSource defaultTileSource();

    static MapTileSource tileSource();
    static void setTileSource(const MapTileSource& source);

    static std::optional<MapView> view();
    static void setView(const MapView& view);
};

}  // namespace kv820
