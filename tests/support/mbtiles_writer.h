#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/store/database.h"
#include "core/store/statement.h"

namespace kv820::test {

// Bytes that read as a PNG (or JPEG) image by their signature, followed by `tag`: enough
// for the core, which serves images by their kind and never decodes them.
inline std::string pngBytes(std::string_view tag) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + std::string(tag);
}
inline std::string jpegBytes(std::string_view tag) {
    return std::string("\xff\xd8\xff\xe0", 4) + std::string(tag);
}

// Writes an MBTiles file as tile tools do: the two tables, rows numbered from the south
// (TMS), an index on the tile's place, no write-ahead log.
class MbtilesWriter {
  public:
    using Metadata = std::vector<std::pair<std::string, std::string>>;

    MbtilesWriter(const std::string& path, const Metadata& metadata)
        : db_(path, Database::Mode::Create) {
        db_.execute("PRAGMA journal_mode=DELETE");
        db_.execute(
            "CREATE TABLE metadata (name TEXT, value TEXT);"
            "CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, tile_row INTEGER, "
            "tile_data BLOB);"
            "CREATE UNIQUE INDEX tile_index ON tiles (zoom_level, tile_column, tile_row);");
        Statement insert(db_, "INSERT INTO metadata VALUES (?1, ?2)");
        for (const auto& [name, value] : metadata) {
            insert.reset();
            insert.bind(1, name).bind(2, value).run();
        }
        insert_ = std::make_unique<Statement>(db_, "INSERT INTO tiles VALUES (?1, ?2, ?3, ?4)");
    }

    // The tile the web map numbers (zoom, x, y), stored at its TMS row.
    void add(int zoom, std::int64_t x, std::int64_t y, std::string_view bytes) {
        addRow(zoom, x, (std::int64_t{1} << zoom) - 1 - y, bytes);
    }
    void addRow(int zoom, std::int64_t column, std::int64_t row, std::string_view bytes) {
        insert_->reset();
        insert_->bind(1, std::int64_t{zoom}).bind(2, column).bind(3, row).bindBlob(4, bytes).run();
    }
    Database& database() { return db_; }

  private:
    Database db_;
    std::unique_ptr<Statement> insert_;  // made once the table is
};

}  // namespace kv820::test
