#pragma once

#include <memory>
#include <string>

#include "core/tiles/tile_set.h"

namespace kv820 {

class Database;
class Statement;

// An MBTiles file of raster tiles (PNG or JPEG): an SQLite file with the tables
// metadata(name, value) and tiles(zoom_level, tile_column, tile_row, tile_data), its rows
// numbered from the south (TMS). It is opened read-only and read one tile at a time, so a
// file of gigabytes costs no more memory than a small one. One thread uses one object.
class MbtilesFile final : public TileSource {
  public:
    // Throws TileSourceError when the file is no MBTiles file, holds vector tiles or no
    // tiles at all.
    explicit MbtilesFile(const std::string& path);
    ~MbtilesFile() override;
    MbtilesFile(const MbtilesFile&) = delete;
    MbtilesFile& operator=(const MbtilesFile&) = delete;

    const TileSetInfo& info() const override { return info_; }
    std::optional<Tile> tile(const TileKey& key) override;

  private:
    void readMetadata();
    void readZoomRange(const std::optional<int>& minZoom, const std::optional<int>& maxZoom);
    void checkFormat(const std::string& format);

    std::unique_ptr<Database> db_;
    std::unique_ptr<Statement> tileQuery_;
    std::string path_;
    TileSetInfo info_;
};

}  // namespace kv820
