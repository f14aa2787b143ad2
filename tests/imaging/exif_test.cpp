// Reading orientation and thumbnail from EXIF, patching a block for an upright picture, and the
// marker-segment walk those rely on.
#include <gtest/gtest.h>

#include <libexif/exif-data.h>

#include <cstring>

#include "imaging/exif_patch.h"
#include "imaging/exif_reader.h"
#include "imaging/jpeg_markers.h"
#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using testing::ExifFields;
using testing::exifPayload;

const std::vector<std::uint8_t> kThumb = {0xFF, 0xD8, 1, 2, 3, 4, 5, 0xFF, 0xD9};

TEST(ExifReader, ReadsOrientationAndThumbnailInBothByteOrders) {
    for (bool big : {false, true}) {
        std::vector<std::uint8_t> block = exifPayload({big, 6, kThumb, 640, 480, "Canon"});
        ExifInfo info = readExif(block.data(), block.size());
        EXPECT_EQ(info.orientation, 6) << big;
        EXPECT_EQ(info.thumbnail, kThumb) << big;
    }
}

TEST(ExifReader, BrokenOrMissingDataGivesDefaults) {
    std::vector<std::uint8_t> noTag = exifPayload({false, 0, {}, 0, 0, ""});
    std::vector<std::uint8_t> outOfRange = exifPayload({false, 9, {}, 0, 0, ""});
    std::vector<std::uint8_t> cut = exifPayload({false, 6, kThumb, 640, 480, "Canon"});
    cut.resize(14);  // stops inside the first directory
    std::vector<std::uint8_t> garbage = {'E', 'x', 'i', 'f', 0, 0, 'X', 'Y', 1, 2, 3};
    for (const auto* block : {&noTag, &outOfRange, &cut, &garbage}) {
        ExifInfo info = readExif(block->data(), block->size());
        EXPECT_EQ(info.orientation, 1);
        EXPECT_TRUE(info.thumbnail.empty());
    }
}

// Reads a tag of the patched block back with libexif, as any other program would.
long tagValue(const std::vector<std::uint8_t>& block, ExifIfd ifd, ExifTag tag) {
    ExifData* d = exif_data_new_from_data(block.data(), static_cast<unsigned>(block.size()));
    long value = -1;
    if (ExifEntry* e = exif_content_get_entry(d->ifd[ifd], tag)) {
        ExifByteOrder order = exif_data_get_byte_order(d);
        value = e->format == EXIF_FORMAT_SHORT ? exif_get_short(e->data, order) : exif_get_long(e->data, order);
    }
    exif_data_unref(d);
    return value;
}

TEST(ExifPatch, UprightBlockHasOrientationOneNewSizeAndTheNewThumbnail) {
    const std::vector<std::uint8_t> bigger(300, 0xAB), smaller = {0xFF, 0xD8, 9, 0xFF, 0xD9};
    for (bool big : {false, true})
        for (const auto* thumb : {&bigger, &smaller}) {
            std::vector<std::uint8_t> block = exifPayload({big, 6, kThumb, 640, 480, "Canon EOS"});
            UprightExif upright{480, 640, thumb, 90, 120};
            std::optional<std::vector<std::uint8_t>> patched = patchExifUpright(block.data(), block.size(), upright);
            ASSERT_TRUE(patched);
            ExifInfo info = readExif(patched->data(), patched->size());
            EXPECT_EQ(info.orientation, 1);
            EXPECT_EQ(tagValue(*patched, EXIF_IFD_0, EXIF_TAG_ORIENTATION), 1);
            EXPECT_EQ(tagValue(*patched, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION), 480);
            EXPECT_EQ(tagValue(*patched, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION), 640);
            // The larger one replaces the old at the end of the block, the smaller one is written in place.
            EXPECT_EQ(info.thumbnail, *thumb);
        }
}

TEST(ExifPatch, KeepsOtherDataInPlaceAndDropsAThumbnailWithoutReplacement) {
    std::vector<std::uint8_t> block = exifPayload({false, 8, kThumb, 640, 480, "Some Camera Maker"});
    const auto makeAt = std::search(block.begin(), block.end(), "Some", "Some" + 4) - block.begin();
    std::optional<std::vector<std::uint8_t>> patched =
        patchExifUpright(block.data(), block.size(), {480, 640, nullptr, 0, 0});
    ASSERT_TRUE(patched);
    EXPECT_EQ(std::memcmp(patched->data() + makeAt, "Some Camera Maker", 17), 0);
    ExifInfo info = readExif(patched->data(), patched->size());
    EXPECT_EQ(info.orientation, 1);
    EXPECT_TRUE(info.thumbnail.empty());

    std::vector<std::uint8_t> notExif = {'J', 'F', 'I', 'F', 0, 0, 'I', 'I', 42, 0};
    EXPECT_FALSE(patchExifUpright(notExif.data(), notExif.size(), {1, 1, nullptr, 0, 0}));
}

TEST(JpegMarkers, HeadSaysHowFarToReadAndFindsExifAndFrame) {
    std::vector<std::uint8_t> file =
        testing::withApp1(testing::jpeg(testing::solid(48, 32, testing::kRed)), exifPayload({false, 3, {}, 0, 0, ""}));
    file = testing::withPadding(file, 0xE2, 20000);
    std::optional<JpegHead> whole = parseJpegHead(file.data(), file.size());
    ASSERT_TRUE(whole && whole->complete);
    EXPECT_EQ(whole->width, 48);
    EXPECT_EQ(whole->height, 32);
    ASSERT_TRUE(whole->exifIndex);
    EXPECT_EQ(whole->segments[*whole->exifIndex].marker, 0xE1);

    std::optional<JpegHead> part = parseJpegHead(file.data(), 1000);  // inside the padding segment
    ASSERT_TRUE(part);
    EXPECT_FALSE(part->complete);
    EXPECT_GE(part->bytesNeeded, 20000u);

    std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(parseJpegHead(text.data(), text.size()));
    std::vector<std::uint8_t> badLength = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01};
    EXPECT_FALSE(parseJpegHead(badLength.data(), badLength.size()));
}

}  // namespace
}  // namespace xp
