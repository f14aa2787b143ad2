// Writing a painted picture to disk in its storage format (PNG through Qt, JPEG through TurboJPEG
// with full-resolution colour so thin coloured strokes and captions stay sharp).
#pragma once

#include <QImage>
#include <QString>

#include "resources/generator/picture_catalogue.h"

namespace xp::gen {

// The file name extension for the storage format, with its dot.
const char* extensionFor(Storage storage);

// Encodes and writes the picture; returns false (with a message on stderr) on failure.
bool writePicture(const QImage& image, Storage storage, const QString& path);

}  // namespace xp::gen
