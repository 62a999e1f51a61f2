#include "core/tiles/tile_folder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/mbtiles_writer.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

namespace fs = std::filesystem;

class TileFolderTest : public ::testing::Test {
  protected:
    void put(const std::string& relative, const std::string& bytes) {
        const fs::path file = dir_.path() / "tiles" / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string root() const { return dir_.file("tiles"); }

    test::TempDir dir_;
};

TEST_F(TileFolderTest, ServesPngAndJpegTilesAsTheImagesTheyAre) {
    put("3/1/2.png", test::pngBytes("png"));
    put("3/1/3.jpg", test::jpegBytes("jpg"));
    put("5/0/0.jpeg", test::jpegBytes("jpeg"));
    put("3/1/4.png", "a text named .png");
    put("notes/readme.txt", "");
    TileFolder folder(root());
    EXPECT_EQ(folder.info().minZoom, 3);
    EXPECT_EQ(folder.info().maxZoom, 5);
    struct Case {
        TileKey key;
        std::optional<TileFormat> format;
    };
    const Case cases[] = {
        {{3, 1, 2}, TileFormat::Png}, {{3, 1, 3}, TileFormat::Jpeg}, {{5, 0, 0}, TileFormat::Jpeg},
        {{3, 1, 4}, std::nullopt},    {{3, 1, 5}, std::nullopt},     {{4, 0, 0}, std::nullopt},
        {{2, 1, 1}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto tile = folder.tile(c.key);
        EXPECT_EQ(tile ? std::optional(tile->format) : std::nullopt, c.format)
            << c.key.zoom << '/' << c.key.x << '/' << c.key.y;
    }
    EXPECT_EQ(folder.tile({3, 1, 2})->bytes, test::pngBytes("png"));
}

TEST_F(TileFolderTest, NoPathLeadsOutOfTheFolder) {
    put("1/0/0.png", test::pngBytes(""));
    std::ofstream(dir_.file("secret.png"), std::ios::binary) << test::pngBytes("secret");
    struct Case {
        const char* relative;
        bool inside;
    };
    const Case cases[] = {
        {"1/0/0.png", true},
        {"1/0/../0/0.png", false},
        {"../secret.png", false},
        {"1/../../secret.png", false},
        {"/etc/passwd", false},
        {"C:/Windows/win.ini", false},
        {"1\\..\\..\\secret.png", false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TileFolder::fileWithin(root(), c.relative).has_value(), c.inside) << c.relative;
    }
}

TEST_F(TileFolderTest, ALinkPointingOutOfTheFolderIsNotFollowed) {
    put("2/0/0.png", test::pngBytes(""));
    fs::create_directories(dir_.path() / "elsewhere" / "0");
    std::ofstream(dir_.path() / "elsewhere" / "0" / "0.png", std::ios::binary)
        << test::pngBytes("outside");
    std::error_code error;
    fs::create_directory_symlink(dir_.path() / "elsewhere", dir_.path() / "tiles" / "2" / "1",
                                 error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    EXPECT_FALSE(TileFolder::fileWithin(root(), "2/1/0/0.png"));
    EXPECT_FALSE(TileFolder(root()).tile({2, 1, 0}));
    EXPECT_TRUE(TileFolder(root()).tile({2, 0, 0}));
}

TEST_F(TileFolderTest, AFolderWithoutZoomFoldersOrNoFolderIsRefused) {
    put("tiles.png", test::pngBytes(""));
    EXPECT_THROW(TileFolder folder(root()), TileSourceError);
    EXPECT_THROW(TileFolder folder(dir_.file("tiles/tiles.png")), TileSourceError);
    EXPECT_THROW(TileFolder folder(dir_.file("absent")), TileSourceError);
}

TEST(TileKeyFromPath, OnlyThreeNumbersWithinTheirZoomNameATile) {
    struct Case {
        const char* path;
        std::optional<TileKey> key;
    };
    const Case cases[] = {
        {"/0/0/0", TileKey{0, 0, 0}},
        {"/2/3/1", TileKey{2, 3, 1}},
        {"/30/1073741823/0", TileKey{30, 1073741823, 0}},
        {"/2/4/0", std::nullopt},
        {"/31/0/0", std::nullopt},
        {"/../1/0", std::nullopt},
        {"/1/0/0/", std::nullopt},
        {"/1/0/0.png", std::nullopt},
        {"1/0/0", std::nullopt},
        {"/1/-1/0", std::nullopt},
        {"/1//0", std::nullopt},
        {"/99999999999/0/0", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto key = tileKeyFromPath(c.path);
        ASSERT_EQ(key.has_value(), c.key.has_value()) << c.path;
        if (key) {
            EXPECT_EQ(key->zoom, c.key->zoom);
            EXPECT_EQ(key->x, c.key->x);
            EXPECT_EQ(key->y, c.key->y);
        }
    }
}

}  // namespace
}  // namespace kv820
