// Encoders for the generated pictures.
#include "resources/generator/picture_files.h"

#include <turbojpeg.h>

#include <QFile>
#include <QImageWriter>
#include <cstdio>
#include <memory>

namespace xp::gen {

const char* extensionFor(Storage storage) { return storage == Storage::Jpeg ? ".jpg" : ".png"; }

namespace {

bool writeJpeg(const QImage& image, const QString& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<void, int (*)(tjhandle)> tj(tjInitCompress(), tjDestroy);
    if (!tj) return false;
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    // 4:4:4 keeps the accent strokes and small captions free of colour fringes; quality 92 keeps
    // the gradients smooth at a fraction of the PNG size.
    const int rc = tjCompress2(tj.get(), rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()),
                               rgb.height(), TJPF_RGB, &jpeg, &size, TJSAMP_444, 92, TJFLAG_ACCURATEDCT);
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> owned(jpeg, tjFree);
    if (rc != 0) {
        std::fprintf(stderr, "JPEG encoding failed for %s: %s\n", qPrintable(path), tjGetErrorStr2(tj.get()));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(reinterpret_cast<const char*>(jpeg), static_cast<qint64>(size)) == static_cast<qint64>(size);
}

bool writePng(const QImage& image, bool alpha, const QString& path) {
    const QImage out = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QImageWriter writer(path, "png");
    // Qt takes the compression as 0 to 100 and maps it onto zlib levels; 100 is the smallest file.
    writer.setCompression(100);
    if (!writer.write(out)) {
        std::fprintf(stderr, "PNG encoding failed for %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

}  // namespace

bool writePicture(const QImage& image, Storage storage, const QString& path) {
    switch (storage) {
        case Storage::Jpeg: return writeJpeg(image, path);
        case Storage::OpaquePng: return writePng(image, false, path);
        case Storage::AlphaPng: return writePng(image, true, path);
    }
    return false;
}

}  // namespace xp::gen
