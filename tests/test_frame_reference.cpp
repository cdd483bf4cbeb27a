// The Windows build under Wine draws what the Linux build draws: every
// picture as the Windows image loader leaves it, and every whole frame in
// memory bitmaps, byte for byte, against the rows' hashes the Linux build
// wrote (CLOCKMAZE_FRAME_REFERENCE).
#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>

#include <string>
#include <vector>

#include "shell/assets.h"
#include "support/frame_reference.h"

namespace {

TEST(FrameReference, PicturesAndFramesAreTheLinuxBuildsByteForByte) {
    ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, atexit));
    ASSERT_TRUE(al_init_image_addon());
    ASSERT_TRUE(al_init_primitives_addon());
    const std::vector<HashedImage> reference = readReference(CLOCKMAZE_FRAME_REFERENCE);
    ASSERT_FALSE(reference.empty()) << "no reference in " << CLOCKMAZE_FRAME_REFERENCE;
    assetRoot = std::string(CLOCKMAZE_ASSET_DIR) + "/";
    const std::vector<HashedImage> here = drawReferenceImages();
    assetRoot.clear();
    ASSERT_EQ(here.size(), reference.size());
    for (size_t i = 0; i < here.size(); ++i) {
        ASSERT_EQ(here[i].name, reference[i].name);
        ASSERT_EQ(here[i].rows.size(), reference[i].rows.size()) << here[i].name;
        int differing = 0, first = -1;
        for (size_t y = 0; y < here[i].rows.size(); ++y) {
            if (here[i].rows[y] != reference[i].rows[y]) {
                first = differing++ ? first : static_cast<int>(y);
            }
        }
        EXPECT_EQ(differing, 0) << here[i].name << ": " << differing << " of "
                                << here[i].rows.size() << " rows differ, the first at y " << first;
    }
}

} // namespace
