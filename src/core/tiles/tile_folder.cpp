#include "core/tiles/tile_folder.h"

#include <algorithm>
#include <fstream>

#include "core/tiles/tile_metadata.h"

namespace kv820 {

namespace {

namespace fs = std::filesystem;

// More entries than any tile folder has at its top; a folder with more is not walked on.
constexpr int MaxTopEntries = 1000;

// The extensions tried, in this order, for one tile.
constexpr std::string_view Extensions[] = {".png", ".jpg", ".jpeg"};

// True when `inner` lies within `outer`, part by part (both without "." and "..").
bool isWithin(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty()) {
            continue;  // the empty part after a trailing separator
        }
        if (i == inner.end() || *i != *o) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> fileBytes(const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return std::nullopt;
    }
    const auto size = fs::file_size(file, error);
    if (error || size > MaxTileBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

TileFolder::TileFolder(const std::string& path) : root_(pathFromUtf8(path)) {
    std::error_code error;
    if (!fs::is_directory(root_, error)) {
        throw TileSourceError("\"" + path + "\" cannot be used for the map: it is no folder.");
    }
    std::optional<int> lowest;
    std::optional<int> deepest;
    int seen = 0;
    for (fs::directory_iterator entry(root_, error), end;
         !error && entry != end && seen < MaxTopEntries; entry.increment(error), ++seen) {
        const auto zoom = zoomFromMetadata(entry->path().filename().string());
        std::error_code kindError;
        if (zoom && entry->is_directory(kindError)) {
            lowest = std::min(lowest.value_or(*zoom), *zoom);
            deepest = std::max(deepest.value_or(*zoom), *zoom);
        }
    }
    if (!lowest) {
        throw TileSourceError("\"" + path +
                              "\" cannot be used for the map: it holds no tiles laid out as "
                              "{z}/{x}/{y}.png or {z}/{x}/{y}.jpg.");
    }
    info_.minZoom = *lowest;
    info_.maxZoom = *deepest;
}

std::optional<Tile> TileFolder::tile(const TileKey& key) {
    if (!isValidTileKey(key) || key.zoom < info_.minZoom || key.zoom > info_.maxZoom) {
        return std::nullopt;
    }
    const std::string stem =
        std::to_string(key.zoom) + '/' + std::to_string(key.x) + '/' + std::to_string(key.y);
    for (const std::string_view extension : Extensions) {
        const auto file = fileWithin(root_, stem + std::string(extension));
        if (!file) {
            continue;
        }
        auto bytes = fileBytes(*file);
        if (!bytes) {
            continue;
        }
        if (const auto format = imageFormatOf(*bytes)) {
            return Tile{std::move(*bytes), *format};
        }
    }
    return std::nullopt;
}

std::optional<fs::path> TileFolder::fileWithin(const fs::path& root, std::string_view relative) {
    // A ':' would name a drive (or a stream) on Windows, a '\\' separate parts there.
    if (relative.empty() || relative.find_first_of("\\:") != std::string_view::npos) {
        return std::nullopt;
    }
    const fs::path part = pathFromUtf8(relative);
    if (part.has_root_path()) {
        return std::nullopt;
    }
    for (const fs::path& piece : part) {
        if (piece == "..") {
            return std::nullopt;
        }
    }
    std::error_code error;
    const fs::path base = fs::weakly_canonical(root, error);
    if (error) {
        return std::nullopt;
    }
    // Follows every link on the way, so that one pointing out of the folder is seen.
    const fs::path file = fs::weakly_canonical(base / part, error);
    if (error || !isWithin(file, base)) {
        return std::nullopt;
    }
    return file;
}

}  // namespace kv820
