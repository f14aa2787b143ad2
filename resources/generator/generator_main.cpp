// The picture generator run by the build: paints every built-in picture into a folder and writes
// the manifest the embedding step reads. Usage: xp_picture_generator OUTPUT_FOLDER [--mockups]
#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

#include "resources/generator/mockups.h"
#include "resources/generator/picture_catalogue.h"
#include "resources/generator/picture_files.h"
#include "resources/generator/studio_style.h"

namespace {

// Without the caption font every Chinese caption would come out as boxes or in a fallback face,
// and the build would still look successful; refuse instead.
bool captionFontAvailable() {
    const QFontInfo info(xp::gen::captionFont(15));
    if (info.family() == QString::fromUtf8(xp::gen::captionFamily)) return true;
    std::fprintf(stderr,
                 "xp_picture_generator: the font \"%s\" is not installed (Debian package fonts-wqy-microhei); "
                 "got \"%s\" instead\n",
                 xp::gen::captionFamily, qPrintable(info.family()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--mockups") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [--mockups]\n", argv[0]);
        return 2;
    }
    // Painting text needs a GUI application; no window is ever shown, so offscreen is enough.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!captionFontAvailable()) return 1;

    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir dir;
    if (!dir.mkpath(folder)) {
        std::fprintf(stderr, "xp_picture_generator: cannot create %s\n", argv[1]);
        return 1;
    }
    QDir out(folder);
    QString manifest;
    for (const auto& entry : xp::gen::pictureCatalogue()) {
        const QString name = QString::fromUtf8(entry.name.data(), static_cast<int>(entry.name.size()));
        const QString file = name + xp::gen::extensionFor(entry.storage);
        if (!xp::gen::writePicture(entry.paint(), entry.storage, out.filePath(file))) {
            std::fprintf(stderr, "xp_picture_generator: cannot write %s\n", qPrintable(out.filePath(file)));
            return 1;
        }
        manifest += name + ' ' + file + '\n';
    }
    // The manifest goes last and atomically: the build treats it as the sign that all files are new.
    QSaveFile list(out.filePath("pictures.txt"));
    if (!list.open(QIODevice::WriteOnly) || list.write(manifest.toUtf8()) < 0 || !list.commit()) {
        std::fprintf(stderr, "xp_picture_generator: cannot write the manifest\n");
        return 1;
    }
    if (argc == 3 && !xp::gen::writeMockups(folder)) return 1;
    return 0;
}
