// Mock-ups of three windows and a contact sheet, built from the generated picture files.
#include "resources/generator/mockups.h"

#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/builtin_pictures.h"
#include "resources/generator/studio_style.h"

namespace xp::gen {

namespace {

constexpr int screenW = 1366, screenH = 768;

class PictureFolder {
public:
    explicit PictureFolder(const QString& folder) : dir_(folder) {}

    QImage operator()(std::string_view name) {
        const QString base = QString::fromUtf8(name.data(), static_cast<int>(name.size()));
        for (const char* ext : {".png", ".jpg"}) {
            QImage image(dir_.filePath(base + ext));
            if (!image.isNull()) return image;
        }
        std::fprintf(stderr, "mock-up: picture %s is missing\n", std::string(name).c_str());
        missing_ = true;
        return {};
    }
    bool missing() const { return missing_; }

private:
    QDir dir_;
    bool missing_ = false;
};

QColor pal(pictures::Rgb rgb) { return toColor(rgb); }

void label(QPainter& p, const QString& text, QRectF box, const QColor& colour, int size = 12) {
    drawCaption(p, text, captionFont(size), colour, box.left(), box.center().y());
}

void editBox(QPainter& p, QRectF box, const QString& text) {
    p.setPen(QPen(pal(pictures::palette::line), 1));
    p.setBrush(pal(pictures::palette::backdrop));
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    label(p, text, box.adjusted(4, 0, 0, 0), pal(pictures::palette::text));
}

void pushButton(QPainter& p, QRectF box, const QString& text, bool primary) {
    p.setPen(QPen(primary ? pal(pictures::palette::accent) : pal(pictures::palette::line), 1));
    p.setBrush(primary ? pal(pictures::palette::accent) : pal(pictures::palette::panel));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    const QFont font = captionFont(12);
    drawCaption(p, text, font, primary ? QColor(30, 30, 32) : pal(pictures::palette::text),
                box.center().x() - captionWidth(text, font) / 2, box.center().y());
}

QImage desktop() {
    QImage image = filledCanvas(screenW, screenH, Qt::black);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, screenH);
    g.setColorAt(0, QColor(20, 22, 26));
    g.setColorAt(1, QColor(12, 13, 15));
    p.fillRect(image.rect(), g);
    return image;
}

void taskbar(QPainter& p) {
    p.fillRect(QRect(0, screenH - 40, screenW, 40), QColor(14, 15, 18));
    p.fillRect(QRect(0, screenH - 40, screenW, 1), QColor(40, 43, 48));
}

QImage loginMockup(PictureFolder& pic) {
    QImage image = desktop();
    QPainter p(&image);
    prepare(p);
    taskbar(p);
    const QPoint origin((screenW - 480) / 2, (screenH - 40 - 328) / 2);
    softShadow(p, QRectF(origin, QSizeF(480, 328)), 0, 18, QPointF(0, 10), 0.8);
    p.setClipRect(QRect(origin, QSize(480, 328)));
    p.translate(origin);
    p.drawImage(0, 0, pic(pictures::loginBanner));
    p.translate(0, 272);
    p.fillRect(QRect(0, 0, 482, 56), pal(pictures::palette::column));
    const QColor muted = pal(pictures::palette::textMuted);
    label(p, QStringLiteral("用户名："), {8, 20, 45, 20}, muted);
    editBox(p, {56, 20, 60, 20}, QStringLiteral("admin"));
    label(p, QStringLiteral("密 码："), {123, 20, 37, 20}, muted);
    editBox(p, {163, 20, 60, 20}, QStringLiteral("*****"));
    pushButton(p, {232, 20, 60, 20}, QStringLiteral("登录"), true);
    pushButton(p, {300, 20, 60, 20}, QStringLiteral("取消"), false);
    p.setPen(QPen(pal(pictures::palette::line), 1));
    p.setBrush(pal(pictures::palette::backdrop));
    p.drawRoundedRect(QRectF(369.5, 23.5, 13, 13), 2, 2);
    label(p, QStringLiteral("记住此用户信息"), {386, 18, 90, 24}, muted);
    return image;
}

QImage mainMockup(PictureFolder& pic) {
    QImage image = desktop();
    QPainter p(&image);
    prepare(p);
    taskbar(p);
    const int W = screenW, H = screenH - 40;
    p.setClipRect(QRect(0, 0, W, H));
    p.fillRect(QRect(0, 0, W, H), QColor(96, 96, 96));
    p.drawImage(0, 0, pic(pictures::mainBanner));
    p.drawImage(0, 0, pic(pictures::mainLogo));
    p.drawImage(W - 25 - 10, 16, pic(pictures::mainClose));
    p.drawImage(W - 25 - 25 - 15, 16, pic(pictures::mainMinimize));
    p.fillRect(QRect(0, 50, W, 33), pal(pictures::palette::titleLine));
    label(p, QStringLiteral("Zelvano影楼选片系统"), {14, 50, 400, 33}, pal(pictures::palette::textMuted), 13);
    const int T = 83, L = 184;
    p.drawImage(0, T, pic(pictures::mainColumn), 0, 0, L, H - T);

    const pictures::ButtonFaces* faces[] = {&pictures::navImport,    &pictures::navOrders,  &pictures::navCustomer,
                                            &pictures::navAutoSplit, &pictures::navSamples, &pictures::navDesigns,
                                            &pictures::navSettings,  &pictures::navLogo};
    for (int i = 0; i < 8; ++i) {
        // One button marked as the open function, one under the mouse, the rest at rest.
        std::string_view face = i == 1 ? faces[i]->disabled : i == 4 ? faces[i]->highlighted : faces[i]->normal;
        const QPoint at = i == 7 ? QPoint(8, 521) : QPoint(9, 98 + 60 * i);
        p.drawImage(at, pic(face));
    }
    p.drawImage(11, 589, pic(pictures::linkWebsite));
    p.drawImage(99, 588, pic(pictures::linkContact));
    p.drawImage(33, 630, pic(pictures::linkHelp));

    const int pw = W - L, ph = H - T;
    p.fillRect(QRect(L, T, pw, ph), pal(pictures::palette::backdrop));
    const int bx = pw <= 960 ? 0 : (pw - 960) / 2 - 3;
    const int by = (ph - 600) / 2 + 1;
    p.drawImage(L + bx, T + by, pic(pictures::mainBackground));

    // The loading panel as it floats over the content area while an order loads.
    const QPoint panel((pw - 352) / 2 + L, (ph - 100) / 2 + T);
    p.setPen(QPen(pal(pictures::palette::line), 1));
    p.setBrush(pal(pictures::palette::panel));
    p.drawRect(QRectF(panel, QSizeF(351, 99)).translated(0.5, 0.5));
    label(p, QStringLiteral("正在加载图片请稍候(12)"), QRectF(panel + QPoint(14, 5), QSizeF(220, 90)),
          pal(pictures::palette::text), 14);
    p.drawImage(panel + QPoint(227, 5), pic(pictures::loadingFrames[3]));
    return image;
}

QImage viewerMockup(PictureFolder& pic) {
    QImage image = filledCanvas(screenW, screenH, pal(pictures::palette::backdrop));
    QPainter p(&image);
    prepare(p);
    const int viewH = screenH - 62 - 60 - 25;
    p.fillRect(QRect(0, 38, screenW, viewH), Qt::black);
    const QImage photo = pic(pictures::mainBackground);
    p.drawImage((screenW - photo.width()) / 2, 38 + (viewH - photo.height()) / 2, photo);

    p.fillRect(QRect(0, 0, screenW, 25), pal(pictures::palette::titleLine));
    const QColor text = pal(pictures::palette::text);
    label(p, QStringLiteral("当前共有：36 张"), {10, 5, 158, 16}, text);
    label(p, QStringLiteral("应选：30张"), {191, 5, 77, 16}, text);
    label(p, QStringLiteral("以选：12 张"), {286, 5, 81, 16}, text);
    label(p, QStringLiteral("当前：IMG_0012｜入册。"), {398, 6, 400, 16}, pal(pictures::palette::accent));

    const int barTop = viewH + 25 + 10;
    p.fillRect(QRect(0, barTop, screenW, 64), pal(pictures::palette::backdrop));
    p.translate((screenW - 568) / 2, barTop + 1);
    const struct {
        std::string_view name;
        int x, y;
    } buttons[] = {
        {pictures::viewerPrevious, 16, 13},    {pictures::viewerPause, 75, 8},
        {pictures::viewerNext, 140, 13},       {pictures::viewerZoomIn, 201, 13},
        {pictures::viewerRestore, 249, 13},    {pictures::viewerZoomOut, 297, 13},
        {pictures::viewerRotateLeft, 354, 13}, {pictures::viewerRotateRight, 401, 13},
        {pictures::viewerDelete, 456, 12},     {pictures::viewerExit, 514, 13},
    };
    for (const auto& b : buttons) p.drawImage(b.x, b.y, pic(b.name));
    p.drawImage(600, 8, pic(pictures::viewerPlay));
    p.drawImage(660, 20, pic(pictures::folderIcon));
    return image;
}

// Every small picture at its real size, flowed in rows over the dark ground and again over a
// silver one (the logo window's background), to judge icons side by side.
QImage contactSheet(const QString& folder) {
    QFile manifest(QDir(folder).filePath("pictures.txt"));
    if (!manifest.open(QIODevice::ReadOnly)) return {};
    std::vector<QImage> items;
    for (const QByteArray& line : manifest.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2) continue;
        QImage image(QDir(folder).filePath(QString::fromUtf8(parts[1])));
        if (!image.isNull() && image.width() <= 340 && image.height() <= 200) items.push_back(image);
    }
    const int sheetW = 1200, gap = 12;
    auto flow = [&](QPainter* p, int top) {
        int x = gap, y = top, rowH = 0;
        for (const QImage& item : items) {
            if (x + item.width() + gap > sheetW) {
                x = gap;
                y += rowH + gap;
                rowH = 0;
            }
            if (p) p->drawImage(x, y, item);
            x += item.width() + gap;
            rowH = std::max(rowH, item.height());
        }
        return y + rowH + gap;
    };
    const int half = flow(nullptr, gap);
    QImage sheet = filledCanvas(sheetW, 2 * half, pal(pictures::palette::column));
    QPainter p(&sheet);
    p.fillRect(QRect(0, half, sheetW, half), QColor(192, 192, 192));
    flow(&p, gap);
    flow(&p, half + gap);
    return sheet;
}

}  // namespace

bool writeMockups(const QString& folder) {
    PictureFolder pic(folder);
    const QDir dir(folder);
    bool ok = loginMockup(pic).save(dir.filePath("mockup_login.png"));
    ok = mainMockup(pic).save(dir.filePath("mockup_main.png")) && ok;
    ok = viewerMockup(pic).save(dir.filePath("mockup_viewer.png")) && ok;
    ok = contactSheet(folder).save(dir.filePath("mockup_sheet.png")) && ok;
    return ok && !pic.missing();
}

}  // namespace xp::gen
