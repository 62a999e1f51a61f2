#include "core/tiles/tile_metadata.h"

#include <algorithm>
#include <vector>

#include "core/common/number_text.h"

namespace kv820 {

namespace {

// Web maps stop short of the poles (the square Mercator world).
constexpr double MaxLatitude = 85.0511288;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> fieldsOf(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t comma = text.find(','); fields.size() < 8; comma = text.find(',')) {
        fields.push_back(trimmed(text.substr(0, comma)));
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return fields;
}

std::optional<double> degreesOf(std::string_view text, double limit) {
    if (!isDecimalWithin(text, limit)) {
        return std::nullopt;
    }
    return leadingDecimal(text);
}

}  // namespace

std::optional<int> zoomFromMetadata(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text.size() > 2) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    const auto value = leadingInt32(text);
    if (!value || *value > MaxTileZoom) {
        return std::nullopt;
    }
    return *value;
}

std::optional<GeoBounds> boundsFromMetadata(std::string_view text) {
    const auto fields = fieldsOf(text);
    if (fields.size() != 4) {
        return std::nullopt;
    }
    const auto west = degreesOf(fields[0], 180);
    const auto south = degreesOf(fields[1], 90);
    const auto east = degreesOf(fields[2], 180);
    const auto north = degreesOf(fields[3], 90);
    if (!west || !south || !east || !north || *west >= *east || *south >= *north) {
        return std::nullopt;
    }
    return GeoBounds{*west, std::max(*south, -MaxLatitude), *east, std::min(*north, MaxLatitude)};
}

std::optional<TileCentre> centreFromMetadata(std::string_view text) {
    const auto fields = fieldsOf(text);
    if (fields.size() != 3) {
        return std::nullopt;
    }
    const auto longitude = degreesOf(fields[0], 180);
    const auto latitude = degreesOf(fields[1], MaxLatitude);
    const auto zoom = zoomFromMetadata(fields[2]);
    if (!longitude || !latitude || !zoom) {
        return std::nullopt;
    }
    return TileCentre{*longitude, *latitude, *zoom};
}

std::string boundedMetadataText(std::string_view text) {
    if (text.size() <= MaxMetadataTextBytes) {
        return std::string(text);
    }
    std::size_t end = MaxMetadataTextBytes;
    // Back to the first byte of a character: continuation bytes are 10xxxxxx.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

}  // namespace kv820
