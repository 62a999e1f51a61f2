#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv820 {

// The map's tiles when the program serves them itself, without a network: from an MBTiles
// file or from a folder laid out as {z}/{x}/{y}.png. Whatever such a source holds came from
// outside the program: its texts are plain text, its tiles are bounded in size, and only an
// image (PNG or JPEG) is ever handed on.

// A tile's place in the numbering the web map asks for (XYZ: row 0 at the north).
struct TileKey {
    int zoom = 0;
    std::int64_t x = 0;
    std::int64_t y = 0;
};

// Deeper than any raster file holds; 2^30 columns still fit the numbers used here.
inline constexpr int MaxTileZoom = 30;
// A larger tile is not served: a 256-pixel tile is some kilobytes, a 512-pixel photo less
// than a megabyte.
inline constexpr std::size_t MaxTileBytes = 4 * 1024 * 1024;
// A longer metadata text (a name, an attribution) is cut there.
inline constexpr std::size_t MaxMetadataTextBytes = 2048;

enum class TileFormat { Png, Jpeg };

// "image/png" or "image/jpeg".
const char* mimeTypeOf(TileFormat format);
// The kind of image the bytes begin with; none for anything else.
std::optional<TileFormat> imageFormatOf(std::string_view bytes);

// The area a file covers, in degrees.
struct GeoBounds {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// Where a file suggests the map starts.
struct TileCentre {
    double longitude = 0;
    double latitude = 0;
    int zoom = 0;
};

struct TileSetInfo {
    TileFormat format = TileFormat::Png;
    int minZoom = 0;
    int maxZoom = 0;  // the deepest tiles; the map scales them up beyond
    std::optional<GeoBounds> bounds;
    std::optional<TileCentre> centre;
    std::string name;
    std::string attribution;  // plain text as the file has it, never to be read as HTML
};

struct Tile {
    std::string bytes;
    TileFormat format = TileFormat::Png;
};

// A source that cannot be opened or read; the text says why, for the operator.
class TileSourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TileSource {
  public:
    virtual ~TileSource() = default;
    virtual const TileSetInfo& info() const = 0;
    // The tile at `key`; none when the source has no such tile, or only one that is too
    // large or no image. Throws TileSourceError when the source itself cannot be read.
    virtual std::optional<Tile> tile(const TileKey& key) = 0;
};

// A zoom within 0..MaxTileZoom and a column and row within that zoom's grid.
bool isValidTileKey(const TileKey& key);

// The tile a request's path names: "/{z}/{x}/{y}", decimal digits only. Nothing else
// names a tile, so no path of a request reaches a file of its own choosing.
std::optional<TileKey> tileKeyFromPath(std::string_view path);

// A path given as UTF-8 (as the program holds every path), whatever the system's narrow
// encoding is.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// An MBTiles file, or a folder of tiles when `path` is a folder. Throws TileSourceError
// saying why when it is neither.
std::unique_ptr<TileSource> openTileSource(const std::string& path);

}  // namespace kv820
