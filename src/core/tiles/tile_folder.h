#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/tiles/tile_set.h"

namespace kv820 {

// A folder of tiles laid out as {z}/{x}/{y}.png (or .jpg, .jpeg), as tile tools write them:
// rows numbered from the north, as the map asks. Only files inside the folder are read.
class TileFolder final : public TileSource {
  public:
    // Throws TileSourceError when `path` is no folder or has no zoom folder (0, 1, ...).
    explicit TileFolder(const std::string& path);

    const TileSetInfo& info() const override { return info_; }
    std::optional<Tile> tile(const TileKey& key) override;

    // The file `relative` (with '/' between its parts) names inside `root`; none when it
    // would lead out of it: a ".." part, an absolute path or a drive, a backslash, or a
    // symbolic link that points outside.
    static std::optional<std::filesystem::path> fileWithin(const std::filesystem::path& root,
                                                           std::string_view relative);

  private:
    std::filesystem::path root_;
    TileSetInfo info_;
};

}  // namespace kv820
