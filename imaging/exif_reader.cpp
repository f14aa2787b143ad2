// EXIF reading through libexif.
#include "imaging/exif_reader.h"

#include <libexif/exif-data.h>

namespace xp {

ExifInfo readExif(const std::uint8_t* payload, std::size_t size) {
    ExifInfo info;
    if (!payload || size < 6 || size > 0xFFFFFFFFu) return info;
    ExifData* data = exif_data_new();
    if (!data) return info;
    // Read only: no "fixing" of the block to the standard, which would invent entries.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, payload, static_cast<unsigned int>(size));

    if (ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
        e && e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->data && e->size >= 2) {
        int value = exif_get_short(e->data, exif_data_get_byte_order(data));
        if (value >= 1 && value <= 8) info.orientation = value;
    }
    if (data->data && data->size > 0) info.thumbnail.assign(data->data, data->data + data->size);
    exif_data_unref(data);
    return info;
}

}  // namespace xp
