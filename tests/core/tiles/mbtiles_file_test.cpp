#include "core/tiles/mbtiles_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/store/database.h"
#include "core/store/database_error.h"
#include "core/tiles/tile_metadata.h"
#include "support/mbtiles_writer.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

using test::pngBytes;

// A small raster file: metadata as given, one tile at zoom 2 in the north-east.
class MbtilesFileTest : public ::testing::Test {
  protected:
    std::string write(const test::MbtilesWriter::Metadata& metadata) {
        test::MbtilesWriter file(path_, metadata);
        file.add(2, 3, 0, pngBytes("north-east"));
        return path_;
    }

    test::TempDir dir_;
    std::string path_ = dir_.file("region.mbtiles");
};

TEST_F(MbtilesFileTest, RowsAreNumberedFromTheSouthAndFlippedForTheMap) {
    {
        test::MbtilesWriter file(path_, {{"format", "png"}, {"minzoom", "1"}, {"maxzoom", "2"}});
        file.addRow(2, 1, 0, pngBytes("southmost row"));
        file.addRow(2, 1, 3, pngBytes("northmost row"));
        file.addRow(1, 0, 1, test::jpegBytes("a JPEG among PNGs"));
    }
    MbtilesFile tiles(path_);
    EXPECT_EQ(tiles.tile({2, 1, 3})->bytes, pngBytes("southmost row"));
    EXPECT_EQ(tiles.tile({2, 1, 0})->bytes, pngBytes("northmost row"));
    // Each tile is handed on as the image it is.
    const auto jpeg = tiles.tile({1, 0, 0});
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->format, TileFormat::Jpeg);
}

TEST_F(MbtilesFileTest, AMissingTileIsNoneAndNoError) {
    {
        test::MbtilesWriter file(path_, {{"format", "png"}, {"minzoom", "0"}, {"maxzoom", "2"}});
        file.add(2, 3, 0, pngBytes("here"));
        file.add(2, 0, 0, "GIF89a: no tile the map takes");
        file.add(2, 1, 1, std::string(MaxTileBytes + 1, 'x').replace(0, 8, pngBytes("")));
    }
    MbtilesFile tiles(path_);
    for (const TileKey key : {TileKey{2, 2, 0}, TileKey{0, 0, 0}, TileKey{3, 6, 0},
                              TileKey{2, 4, 0}, TileKey{2, 0, 0}, TileKey{2, 1, 1}}) {
        EXPECT_FALSE(tiles.tile(key)) << key.zoom << '/' << key.x << '/' << key.y;
    }
    EXPECT_TRUE(tiles.tile({2, 3, 0}));
}

TEST_F(MbtilesFileTest, AFileThatIsNoMbtilesIsRefusedSayingSo) {
    const std::string text = dir_.file("notes.mbtiles");
    std::ofstream(text) << "not a database at all";
    const std::string otherDatabase = dir_.file("other.sqlite");
    Database(otherDatabase, Database::Mode::Create).execute("CREATE TABLE t (a)");
    for (const std::string& path : {text, otherDatabase, dir_.file("absent.mbtiles")}) {
        try {
            MbtilesFile tiles(path);
            ADD_FAILURE() << path << " was taken";
        } catch (const TileSourceError& error) {
            EXPECT_NE(std::string(error.what()).find("no MBTiles file"), std::string::npos)
                << error.what();
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("absent.mbtiles")));
}

TEST_F(MbtilesFileTest, VectorTilesAndEmptyFilesAreRefusedSayingWhy) {
    struct Case {
        test::MbtilesWriter::Metadata metadata;
        std::string tile;  // none: a file without tiles
        const char* said;
    };
    const Case cases[] = {
        {{{"format", "pbf"}}, "\x1f\x8b gzip-compressed protocol buffer", "vector tiles (pbf)"},
        {{{"name", "no format said"}},
         "\x1f\x8b gzip-compressed protocol buffer",
         "vector tiles (pbf)"},
        {{{"format", "webp"}}, "RIFF....WEBP", "format \"webp\""},
        {{{"format", "png"}}, "", "no tiles"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path_);
        {
            test::MbtilesWriter file(path_, c.metadata);
            if (!c.tile.empty()) {
                file.add(0, 0, 0, c.tile);
            }
        }
        try {
            MbtilesFile tiles(path_);
            ADD_FAILURE() << c.said << ": the file was taken";
        } catch (const TileSourceError& error) {
            EXPECT_NE(std::string(error.what()).find(c.said), std::string::npos) << error.what();
        }
    }
}

TEST_F(MbtilesFileTest, MetadataTextsAreKeptVerbatimAsText) {
    const std::string hostile =
        "<img src=x onerror=\"bridge.tilesUnavailable()\"> &amp; <b>Tiles</b> \xc2\xa9 2024";
    write({{"format", "png"}, {"attribution", hostile}, {"name", "<script>x</script>"}});
    const TileSetInfo info = MbtilesFile(path_).info();
    EXPECT_EQ(info.attribution, hostile);
    EXPECT_EQ(info.name, "<script>x</script>");

    // A text beyond the bound is cut before a whole character.
    std::filesystem::remove(path_);
    write({{"format", "png"},
           {"attribution", std::string(MaxMetadataTextBytes - 1, 'a') + "\xc2\xa9"}});
    EXPECT_EQ(MbtilesFile(path_).info().attribution, std::string(MaxMetadataTextBytes - 1, 'a'));
}

TEST_F(MbtilesFileTest, TheViewAndZoomsComeFromTheMetadataOrElseFromTheTiles) {
    write({{"format", "jpg"},
           {"minzoom", "1"},
           {"maxzoom", "14"},
           {"bounds", "121.4, 24.9, 121.7, 25.2"},
           {"center", "121.5,25.05,12"}});
    const TileSetInfo info = MbtilesFile(path_).info();
    EXPECT_EQ(info.format, TileFormat::Jpeg);
    EXPECT_EQ(info.minZoom, 1);
    EXPECT_EQ(info.maxZoom, 14);
    ASSERT_TRUE(info.bounds);
    EXPECT_DOUBLE_EQ(info.bounds->west, 121.4);
    EXPECT_DOUBLE_EQ(info.bounds->north, 25.2);
    ASSERT_TRUE(info.centre);
    EXPECT_DOUBLE_EQ(info.centre->latitude, 25.05);
    EXPECT_EQ(info.centre->zoom, 12);

    // Unreadable numbers count as none: the zooms the tiles have, no view.
    std::filesystem::remove(path_);
    write({{"minzoom", "one"}, {"maxzoom", "2,5"}, {"bounds", "1,2,3"}, {"center", "x,y,z"}});
    const TileSetInfo fallback = MbtilesFile(path_).info();
    EXPECT_EQ(fallback.format, TileFormat::Png);  // as the first tile is
    EXPECT_EQ(fallback.minZoom, 2);
    EXPECT_EQ(fallback.maxZoom, 2);
    EXPECT_FALSE(fallback.bounds);
    EXPECT_FALSE(fallback.centre);
}

TEST(TileMetadata, NumbersReadOnlyWhenTheyReadWhole) {
    struct Case {
        const char* text;
        bool bounds;
        bool centre;
    };
    const Case cases[] = {
        {"-180,-85.0511,180,85.0511", true, false},
        {" 121.4 ,24.9,121.7,25.2 ", true, false},
        {"121.7,24.9,121.4,25.2", false, false},  // west beyond east
        {"121.4,25.2,121.7,24.9", false, false},  // south beyond north
        {"181,0,182,1", false, false},
        {"1e2,0,2,1", false, false},
        {"1,2,3,4,5", false, false},
        {"121,5,25,3,12", false, false},  // a decimal comma
        {"121.5,25.05,12", false, true},
        {"-0.5,51.5,0", false, true},
        {"121.5,25.05", false, false},
        {"121.5,25.05,12.5", false, false},
        {"121.5,89,3", false, false},  // beyond the square world
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boundsFromMetadata(c.text).has_value(), c.bounds) << c.text;
        EXPECT_EQ(centreFromMetadata(c.text).has_value(), c.centre) << c.text;
    }
    EXPECT_EQ(boundsFromMetadata("-10.25,-5.5,20.75,30")->east, 20.75);
    for (const auto& [text, zoom] : std::initializer_list<std::pair<const char*, int>>{
             {"0", 0}, {"18", 18}, {" 7 ", 7}, {"30", 30}}) {
        EXPECT_EQ(zoomFromMetadata(text), zoom) << text;
    }
    for (const char* bad : {"31", "-1", "+3", "3.0", "", "x", "123"}) {
        EXPECT_FALSE(zoomFromMetadata(bad)) << bad;
    }
}

TEST_F(MbtilesFileTest, TheFileIsOpenedReadOnlyAndNeverWritten) {
    write({{"format", "png"}});
    const auto before = std::filesystem::last_write_time(path_);
    const auto size = std::filesystem::file_size(path_);
    {
        MbtilesFile tiles(path_);
        EXPECT_TRUE(tiles.tile({2, 3, 0}));
    }
    Database readOnly(path_, Database::Mode::ReadOnly);
    EXPECT_THROW(readOnly.execute("DELETE FROM tiles"), DatabaseError);
    EXPECT_EQ(std::filesystem::last_write_time(path_), before);
    EXPECT_EQ(std::filesystem::file_size(path_), size);
    EXPECT_FALSE(std::filesystem::exists(path_ + "-journal"));
    EXPECT_FALSE(std::filesystem::exists(path_ + "-wal"));
}

}  // namespace
}  // namespace kv820
