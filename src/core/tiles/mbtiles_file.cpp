#include "core/tiles/mbtiles_file.h"

#include <algorithm>
#include <cctype>

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/store/statement.h"
#include "core/tiles/tile_metadata.h"

namespace kv820 {

namespace {

// Bound as parameters 1..4: zoom, column, TMS row, the largest size taken. A larger tile's
// bytes are never read: only its length is.
constexpr const char* TileSql =
    "SELECT length(tile_data), CASE WHEN length(tile_data) <= ?4 THEN tile_data END "
    "FROM tiles WHERE zoom_level = ?1 AND tile_column = ?2 AND tile_row = ?3 LIMIT 1";

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

[[noreturn]] void refuse(const std::string& path, const std::string& why) {
    throw TileSourceError("\"" + path + "\" cannot be used for the map: " + why);
}

constexpr const char* RasterOnly =
    "the map shows raster tiles (PNG or JPEG) only. Make a raster MBTiles file of the region "
    "instead.";

// A vector tile is a protocol buffer, mostly stored gzip-compressed.
bool looksLikeVectorTile(std::string_view bytes) {
    return bytes.substr(0, 2) == "\x1f\x8b" || bytes.substr(0, 1) == "\x1a";
}

}  // namespace

MbtilesFile::MbtilesFile(const std::string& path) : path_(path) {
    try {
        db_ = std::make_unique<Database>(path, Database::Mode::ReadOnly);
        Statement tables(*db_,
                         "SELECT count(DISTINCT name) FROM sqlite_master WHERE type IN "
                         "('table', 'view') AND name IN ('metadata', 'tiles')");
        if (!tables.step() || tables.integer(0) != 2) {
            refuse(path, "it is no MBTiles file (it has no tables \"metadata\" and \"tiles\").");
        }
        readMetadata();
        tileQuery_ = std::make_unique<Statement>(*db_, TileSql);
    } catch (const DatabaseError& error) {
        refuse(path, std::string("it is no MBTiles file (") + error.what() + ").");
    }
}

MbtilesFile::~MbtilesFile() = default;

void MbtilesFile::readMetadata() {
    std::string format;
    std::optional<int> minZoom;
    std::optional<int> maxZoom;
    Statement rows(*db_, "SELECT name, value FROM metadata");
    while (rows.step()) {
        const std::string_view name = rows.textView(0);
        const std::string_view value = rows.textView(1);
        if (name == "format") {
            format = lowered(boundedMetadataText(value));
        } else if (name == "minzoom") {
            minZoom = zoomFromMetadata(value);
        } else if (name == "maxzoom") {
            maxZoom = zoomFromMetadata(value);
        } else if (name == "bounds") {
            info_.bounds = boundsFromMetadata(value);
        } else if (name == "center") {
            info_.centre = centreFromMetadata(value);
        } else if (name == "name") {
            info_.name = boundedMetadataText(value);
        } else if (name == "attribution") {
            info_.attribution = boundedMetadataText(value);
        }
    }
    checkFormat(format);
    readZoomRange(minZoom, maxZoom);
}

void MbtilesFile::checkFormat(const std::string& format) {
    Statement first(*db_, "SELECT tile_data FROM tiles LIMIT 1");
    if (!first.step()) {
        refuse(path_, "it holds no tiles.");
    }
    if (format == "png") {
        info_.format = TileFormat::Png;
    } else if (format == "jpg" || format == "jpeg") {
        info_.format = TileFormat::Jpeg;
    } else if (format == "pbf" || format == "mvt") {
        refuse(path_, std::string("it holds vector tiles (pbf); ") + RasterOnly);
    } else if (!format.empty()) {
        refuse(path_, "its tiles are of the format \"" + format + "\"; " + RasterOnly);
    } else if (const auto sniffed = imageFormatOf(first.blob(0))) {
        // Older files do not say their format: the first tile tells.
        info_.format = *sniffed;
    } else if (looksLikeVectorTile(first.blob(0))) {
        refuse(path_, std::string("it holds vector tiles (pbf); ") + RasterOnly);
    } else {
        refuse(path_, std::string("its tiles are no images; ") + RasterOnly);
    }
}

void MbtilesFile::readZoomRange(const std::optional<int>& minZoom,
                                const std::optional<int>& maxZoom) {
    if (minZoom && maxZoom && *minZoom <= *maxZoom) {
        info_.minZoom = *minZoom;
        info_.maxZoom = *maxZoom;
        return;
    }
    // Without the metadata's range the tiles tell, through the table's index.
    Statement range(*db_, "SELECT min(zoom_level), max(zoom_level) FROM tiles");
    range.step();
    info_.minZoom = static_cast<int>(std::clamp<std::int64_t>(range.integer(0), 0, MaxTileZoom));
    info_.maxZoom =
        static_cast<int>(std::clamp<std::int64_t>(range.integer(1), info_.minZoom, MaxTileZoom));
}

std::optional<Tile> MbtilesFile::tile(const TileKey& key) {
    if (!isValidTileKey(key) || key.zoom < info_.minZoom || key.zoom > info_.maxZoom) {
        return std::nullopt;
    }
    const std::int64_t tmsRow = (std::int64_t{1} << key.zoom) - 1 - key.y;
    try {
        tileQuery_->reset();
        tileQuery_->bind(1, std::int64_t{key.zoom})
            .bind(2, key.x)
            .bind(3, tmsRow)
            .bind(4, static_cast<std::int64_t>(MaxTileBytes));
        if (!tileQuery_->step() || tileQuery_->isNull(1)) {
            return std::nullopt;  // none, or one too large
        }
        const std::string_view bytes = tileQuery_->blob(1);
        const auto format = imageFormatOf(bytes);
        if (!format) {
            return std::nullopt;
        }
        Tile tile{std::string(bytes), *format};
        tileQuery_->reset();  // lets go of the row's pages at once
        return tile;
    } catch (const DatabaseError& error) {
        throw TileSourceError("The tiles of \"" + path_ + "\" cannot be read: " + error.what());
    }
}

}  // namespace kv820
