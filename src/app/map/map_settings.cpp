#include "app/map/map_settings.h"

#include <QFileInfo>

#include "app/common/program_settings.h"

namespace kv820 {

namespace {

const QString TileUrlKey = QStringLiteral("map/tileUrl");
const QString AttributionKey = QStringLiteral("map/tileAttribution");
const QString TileKindKey = QStringLiteral("map/tileKind");
const QString TilePathKey = QStringLiteral("map/tilePath");
const QString LatitudeKey = QStringLiteral("map/viewLatitude");
const QString LongitudeKey = QStringLiteral("map/viewLongitude");
const QString ZoomKey = QStringLiteral("map/viewZoom");

// The kinds as stored; a value the program does not know reads as a tile server.
const QString UrlKindName = QStringLiteral("url");
const QString MbtilesKindName = QStringLiteral("mbtiles");
const QString FolderKindName = QStringLiteral("folder");

std::optional<MapTileSource>& runTileSource() {
    static std::optional<MapTileSource> source;
    return source;
}

QString kindName(MapTileSource::Kind kind) {
    switch (kind) {
        case MapTileSource::Kind::MbtilesFile:
            return MbtilesKindName;
        case MapTileSource::Kind::Folder:
            return FolderKindName;
        case MapTileSource::Kind::Url:
            break;
    }
    return UrlKindName;
}

MapTileSource::Kind kindNamed(const QString& name) {
    if (name == MbtilesKindName) {
        return MapTileSource::Kind::MbtilesFile;
    }
    if (name == FolderKindName) {
        return MapTileSource::Kind::Folder;
    }
    return MapTileSource::Kind::Url;
}

}  // namespace

MapTileSource MapSettings::defaultTileSource() {
    return {QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"),
            QStringLiteral("&copy; <a href=\"https://www.openstreetmap.org/copyright\">"
                           "OpenStreetMap</a> contributors")};
}

MapTileSource MapSettings::tileSource() {
    if (runTileSource()) {
        return *runTileSource();
    }
    const QSettings settings = programSettings();
    const MapTileSource fallback = defaultTileSource();
    return {settings.value(TileUrlKey, fallback.urlTemplate).toString(),
            settings.value(AttributionKey, fallback.attribution).toString(),
            kindNamed(settings.value(TileKindKey).toString()),
            settings.value(TilePathKey).toString()};
}

void MapSettings::setTileSource(const MapTileSource& source) {
    runTileSource().reset();
    QSettings settings = programSettings();
    settings.setValue(TileUrlKey, source.urlTemplate);
    settings.setValue(AttributionKey, source.attribution);
    settings.setValue(TileKindKey, kindName(source.kind));
    settings.setValue(TilePathKey, source.path);
}

void MapSettings::setRunTileSource(const MapTileSource& source) {
    runTileSource() = source;
}

std::optional<MapTileSource> MapSettings::tileSourceFromArgument(const QString& argument) {
    const QFileInfo file(argument);
    if (!argument.isEmpty() && file.isDir()) {
        return MapTileSource{{}, {}, MapTileSource::Kind::Folder, file.absoluteFilePath()};
    }
    if (!argument.isEmpty() && file.isFile()) {
        return MapTileSource{{}, {}, MapTileSource::Kind::MbtilesFile, file.absoluteFilePath()};
    }
    const bool isTemplate = argument.contains(QLatin1String("{z}")) &&
                            argument.contains(QLatin1String("{x}")) &&
                            argument.contains(QLatin1String("{y}"));
    if (isTemplate && argument.contains(QLatin1String("://"))) {
        return MapTileSource{argument, {}, MapTileSource::Kind::Url, {}};
    }
    return std::nullopt;
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
