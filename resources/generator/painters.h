// The painters of the individual built-in pictures; each returns the finished picture at its real
// pixel size.
#pragma once

#include <QImage>
#include <QString>

#include "resources/generator/line_icons.h"

namespace xp::gen {

// Main window chrome.
QImage paintMainBanner();
QImage paintMainLogo();
QImage paintBannerButton(Icon glyph);  // close and minimise
QImage paintMainColumn();

enum class FaceState { Normal, Highlighted, Disabled };
// A left-column picture button face, 164 x 50.
QImage paintNavFace(Icon icon, const QString& caption, FaceState state);
// A contact link at the foot of the column.
QImage paintLink(Icon icon, const QString& caption, int width);

// Large pictures.
QImage paintLoginBanner();
QImage paintMainBackground();
QImage paintGalleryTitle(Icon icon, const QString& title, const QString& subtitle);
QImage paintAppIcon();

// Viewer, gallery and dialogs.
QImage paintPlayButton(bool pause);
QImage paintToolIcon(Icon icon, int width);
QImage paintLoadingFrame(int frame, int frameCount);
QImage paintGalleryExitFace(FaceState state);
QImage paintFolderIcon();

}  // namespace xp::gen
