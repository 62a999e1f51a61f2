#include "core/tiles/tile_set.h"

#include <algorithm>

#include "core/tiles/mbtiles_file.h"
#include "core/tiles/tile_folder.h"

namespace kv820 {

namespace {

constexpr std::string_view PngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::string_view JpegSignature = "\xff\xd8\xff";

// A run of 1 to 10 digits, as a number.
std::optional<std::int64_t> digitsValue(std::string_view text) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

const char* mimeTypeOf(TileFormat format) {
    return format == TileFormat::Jpeg ? "image/jpeg" : "image/png";
}

std::optional<TileFormat> imageFormatOf(std::string_view bytes) {
    if (bytes.substr(0, PngSignature.size()) == PngSignature) {
        return TileFormat::Png;
    }
    if (bytes.substr(0, JpegSignature.size()) == JpegSignature) {
        return TileFormat::Jpeg;
    }
    return std::nullopt;
}

bool isValidTileKey(const TileKey& key) {
    if (key.zoom < 0 || key.zoom > MaxTileZoom) {
        return false;
    }
    const std::int64_t side = std::int64_t{1} << key.zoom;
    return key.x >= 0 && key.x < side && key.y >= 0 && key.y < side;
}

std::optional<TileKey> tileKeyFromPath(std::string_view path) {
    if (path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    path.remove_prefix(1);
    std::int64_t parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? path.find('/') : path.size();
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const auto value = digitsValue(path.substr(0, end));
        if (!value) {
            return std::nullopt;
        }
        parts[i] = *value;
        path.remove_prefix(i < 2 ? end + 1 : end);
    }
    if (parts[0] > MaxTileZoom) {
        return std::nullopt;
    }
    const TileKey key{static_cast<int>(parts[0]), parts[1], parts[2]};
    return isValidTileKey(key) ? std::optional(key) : std::nullopt;
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    std::u8string text(utf8.size(), u8'\0');
    std::transform(utf8.begin(), utf8.end(), text.begin(),
                   [](char c) { return static_cast<char8_t>(c); });
    return std::filesystem::path(text);
}

std::unique_ptr<TileSource> openTileSource(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(pathFromUtf8(path), error)) {
        return std::make_unique<TileFolder>(path);
    }
    return std::make_unique<MbtilesFile>(path);
}

}  // namespace kv820
