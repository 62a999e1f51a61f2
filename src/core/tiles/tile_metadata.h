#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/tiles/tile_set.h"

namespace kv820 {

// The numbers of an MBTiles file's metadata, read without the locale. A value that does not
// read as a whole is no value at all: the map then takes what it would without it.

// "minzoom", "maxzoom": a whole number 0..MaxTileZoom.
std::optional<int> zoomFromMetadata(std::string_view text);
// "bounds": "west,south,east,north" in degrees, west of east and south of north.
std::optional<GeoBounds> boundsFromMetadata(std::string_view text);
// "center": "longitude,latitude,zoom".
std::optional<TileCentre> centreFromMetadata(std::string_view text);

// At most MaxMetadataTextBytes of the text, not cutting a UTF-8 character in two.
std::string boundedMetadataText(std::string_view text);

}  // namespace kv820
