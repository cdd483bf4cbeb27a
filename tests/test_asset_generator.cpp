// The asset generator: the same sources give the same files on every run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// The generator is run again into a fresh folder and its output compared
// byte for byte with what the build laid out.
TEST(AssetGenerator, GivesTheSameFilesEveryRun) {
    const std::string assetDir = CLOCKMAZE_ASSET_DIR;
    char pattern[] = "/tmp/clockmaze-regen-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const std::string command = std::string("'") + CLOCKMAZE_ASSETGEN + "' '" + folder + "' '" +
                                CLOCKMAZE_FONT_DIR + "' '" + folder + "/sheet.png' '" + folder +
                                "/hicolor' " + CLOCKMAZE_APP_ID;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string compare = "diff -r -q -x sheet.png -x hicolor -x '*.ttf' -x '*.txt' '" +
                                folder + "' '" + assetDir + "' >/dev/null";
    EXPECT_EQ(std::system(compare.c_str()), 0) << "the regenerated files differ";
    const std::string icons =
        "diff -r -q '" + folder + "/hicolor' '" + CLOCKMAZE_ICON_DIR + "' >/dev/null";
    EXPECT_EQ(std::system(icons.c_str()), 0) << "the regenerated icons differ";
    std::system(("rm -rf '" + folder + "'").c_str());
}

} // namespace
