// The built-in pictures: each named one is embedded, decodes with Qt, has the size of the control
// that shows it, and meets the pictures around it without a seam.
#include "resources/builtin_pictures.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace xp::pictures;

enum class Kind { OpaquePng, AlphaPng, Jpeg };

struct Expected {
    std::string_view name;
    int width;
    int height;
    Kind kind;
};

// Sizes come from the windows' geometry: the control each picture fills, or for the banner and
// the column, the largest screen they are meant to cover without scaling.
std::vector<Expected> expectedPictures() {
    std::vector<Expected> out = {
        {loginBanner, 480, 272, Kind::Jpeg},         {mainBanner, 2560, 50, Kind::OpaquePng},
        {mainLogo, 336, 50, Kind::OpaquePng},        {mainClose, 25, 25, Kind::AlphaPng},
        {mainMinimize, 25, 25, Kind::AlphaPng},      {mainColumn, 184, 1440, Kind::OpaquePng},
        {mainBackground, 960, 600, Kind::Jpeg},      {linkWebsite, 74, 23, Kind::OpaquePng},
        {linkContact, 68, 23, Kind::OpaquePng},      {linkHelp, 105, 23, Kind::OpaquePng},
        {viewerPlay, 50, 50, Kind::AlphaPng},        {viewerPause, 50, 50, Kind::AlphaPng},
        {viewerPrevious, 41, 40, Kind::AlphaPng},    {viewerNext, 41, 40, Kind::AlphaPng},
        {viewerZoomIn, 40, 40, Kind::AlphaPng},      {viewerRestore, 41, 40, Kind::AlphaPng},
        {viewerZoomOut, 40, 40, Kind::AlphaPng},     {viewerRotateLeft, 41, 40, Kind::AlphaPng},
        {viewerRotateRight, 41, 40, Kind::AlphaPng}, {viewerDelete, 41, 40, Kind::AlphaPng},
        {viewerExit, 41, 40, Kind::AlphaPng},        {galleryTitleSamples, 300, 48, Kind::Jpeg},
        {galleryTitleDesigns, 300, 48, Kind::Jpeg},  {folderIcon, 22, 22, Kind::AlphaPng},
        {appIcon, 128, 128, Kind::AlphaPng},
    };
    for (const ButtonFaces* faces :
         {&navImport, &navOrders, &navCustomer, &navAutoSplit, &navSamples, &navDesigns, &navSettings, &navLogo})
        for (std::string_view face : {faces->normal, faces->highlighted, faces->disabled})
            out.push_back({face, 164, 50, Kind::OpaquePng});
    for (std::string_view face : {galleryExit.normal, galleryExit.highlighted, galleryExit.disabled})
        out.push_back({face, 80, 32, Kind::OpaquePng});
    for (std::string_view frame : loadingFrames) out.push_back({frame, 120, 90, Kind::AlphaPng});
    return out;
}

QImage decode(std::string_view name) {
    const std::string_view bytes = xp::builtinPicture(name);
    return QImage::fromData(QByteArray::fromRawData(bytes.data(), static_cast<int>(bytes.size())));
}

bool startsWith(std::string_view bytes, std::string_view magic) { return bytes.substr(0, magic.size()) == magic; }

int channelDistance(QRgb a, xp::pictures::Rgb b) {
    return std::max({std::abs(qRed(a) - b.r), std::abs(qGreen(a) - b.g), std::abs(qBlue(a) - b.b)});
}

TEST(BuiltinPictures, EveryNamedPictureDecodesAtItsControlSize) {
    for (const Expected& e : expectedPictures()) {
        SCOPED_TRACE(std::string(e.name));
        const std::string_view bytes = xp::builtinPicture(e.name);
        ASSERT_FALSE(bytes.empty());
        if (e.kind == Kind::Jpeg)
            EXPECT_TRUE(startsWith(bytes, "\xFF\xD8\xFF"));
        else
            EXPECT_TRUE(startsWith(bytes, "\x89PNG\r\n\x1A\n"));
        const QImage image = decode(e.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), e.width);
        EXPECT_EQ(image.height(), e.height);
        // Icons must let their panel show through; flat pieces must not, or a backend that drops
        // the alpha channel would show black corners.
        EXPECT_EQ(image.hasAlphaChannel(), e.kind == Kind::AlphaPng);
    }
}

TEST(BuiltinPictures, NameListMatchesTheNamedPicturesExactly) {
    std::multiset<std::string_view> expected, embedded;
    for (const Expected& e : expectedPictures()) expected.insert(e.name);
    for (std::string_view name : xp::builtinPictureNames()) embedded.insert(name);
    EXPECT_EQ(embedded, expected);
}

TEST(BuiltinPictures, UnknownNamesGiveNoBytes) {
    for (std::string_view name :
         {"", "no_such_picture", "LOGIN_BANNER", "login_banner.jpg", "login_banne", "loading_12"})
        EXPECT_TRUE(xp::builtinPicture(name).empty()) << name;
}

// The slideshow tells running from idle by comparing the play button's bytes with the play
// picture, and a picture button shows its state only if its faces differ.
TEST(BuiltinPictures, StatePicturesDiffer) {
    EXPECT_NE(xp::builtinPicture(viewerPlay), xp::builtinPicture(viewerPause));
    for (const ButtonFaces* faces : {&navImport, &navOrders, &navCustomer, &navAutoSplit, &navSamples, &navDesigns,
                                     &navSettings, &navLogo, &galleryExit}) {
        SCOPED_TRACE(std::string(faces->normal));
        EXPECT_NE(decode(faces->normal), decode(faces->highlighted));
        EXPECT_NE(decode(faces->normal), decode(faces->disabled));
        EXPECT_NE(decode(faces->highlighted), decode(faces->disabled));
    }
    for (size_t i = 0; i < loadingFrames.size(); ++i)
        EXPECT_NE(decode(loadingFrames[i]), decode(loadingFrames[(i + 1) % loadingFrames.size()])) << i;
}

// Pictures placed on other pictures must match them where they meet, at the main window's
// designed positions (the column starts at y 83, the buttons at x 9 except the last at x 8).
TEST(BuiltinPictures, NeighboursMeetWithoutASeam) {
    const QImage banner = decode(mainBanner);
    const QImage logo = decode(mainLogo);
    for (int y = 0; y < logo.height(); ++y) {
        EXPECT_EQ(logo.pixel(0, y), banner.pixel(0, y)) << "logo left edge, row " << y;
        EXPECT_EQ(logo.pixel(logo.width() - 1, y), banner.pixel(logo.width() - 1, y)) << "logo right edge, row " << y;
    }

    const QImage column = decode(mainColumn);
    struct Placed {
        std::string_view name;
        int x, y;
    };
    const Placed placed[] = {
        {navImport.normal, 9, 98},
        {navOrders.highlighted, 9, 158},
        {navCustomer.disabled, 9, 218},
        {navAutoSplit.normal, 9, 278},
        {navSamples.normal, 9, 338},
        {navDesigns.normal, 9, 398},
        {navSettings.normal, 9, 458},
        {navLogo.disabled, 8, 521},
        {linkWebsite, 11, 589},
        {linkContact, 99, 588},
        {linkHelp, 33, 630},
    };
    for (const Placed& p : placed) {
        const QImage face = decode(p.name);
        for (QPoint corner : {QPoint(0, 0), QPoint(face.width() - 1, 0), QPoint(0, face.height() - 1),
                              QPoint(face.width() - 1, face.height() - 1)})
            EXPECT_EQ(face.pixel(corner), column.pixel(p.x + corner.x(), p.y - 83 + corner.y()))
                << p.name << " corner " << corner.x() << "," << corner.y();
    }

    // The login banner runs into the footer frame below it, the main background into the draw
    // panel around it; both are JPEG, so allow for its rounding.
    const QImage login = decode(loginBanner);
    for (int x = 0; x < login.width(); x += 16)
        EXPECT_LE(channelDistance(login.pixel(x, login.height() - 1), palette::column), 4) << "login x " << x;
    const QImage background = decode(mainBackground);
    for (int x = 0; x < background.width(); x += 16) {
        EXPECT_LE(channelDistance(background.pixel(x, 0), palette::backdrop), 4) << "top x " << x;
        EXPECT_LE(channelDistance(background.pixel(x, background.height() - 1), palette::backdrop), 4)
            << "bottom x " << x;
    }
    for (int y = 0; y < background.height(); y += 16) {
        EXPECT_LE(channelDistance(background.pixel(0, y), palette::backdrop), 4) << "left y " << y;
        EXPECT_LE(channelDistance(background.pixel(background.width() - 1, y), palette::backdrop), 4)
            << "right y " << y;
    }
}

}  // namespace
