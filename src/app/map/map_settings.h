#pragma once

#include <QString>
#include <optional>

namespace kv820 {

// What the map page keeps between runs (QSettings, group "map"): the tile source and the
// last view.
struct MapTileSource {
    // Where the tiles come from: a tile server, or one of the two the program serves itself
    // from the disk, for a desk without internet.
    enum class Kind { Url, MbtilesFile, Folder };

    QString urlTemplate;  // Leaflet's template: {z}, {x}, {y}, optionally {s}
    // Of a tile server: HTML, shown in the map's corner as the server requires. Of a folder:
    // plain text. An MBTiles file brings its own (plain text too).
    QString attribution;
    Kind kind = Kind::Url;
    QString path;  // the MBTiles file or the folder
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

    // The source of this run (see setRunTileSource) or else the stored one.
    static MapTileSource tileSource();
    // Stores the source; it replaces that of this run too.
    static void setTileSource(const MapTileSource& source);
    // A source for this run only, as the command line gives it; nothing is stored.
    static void setRunTileSource(const MapTileSource& source);

    // What a command line's argument names: an existing folder, an existing file (an
    // MBTiles file) or a URL template with {z}, {x} and {y}; nothing for anything else.
    static std::optional<MapTileSource> tileSourceFromArgument(const QString& argument);

    static std::optional<MapView> view();
    static void setView(const MapView& view);
};

}  // namespace kv820
