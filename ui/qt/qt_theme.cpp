// Fusion, a calm dark palette with a warm accent, and the standard font.
#include "ui/qt/qt_theme.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace xp::ui::qt {

void applyTheme(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    const QColor window(58, 58, 60), base(30, 30, 32), text(232, 230, 226), button(72, 72, 75);
    const QColor accent(196, 160, 98), dimText(140, 140, 140);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dimText);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 80));
    p.setColor(QPalette::Light, QColor(96, 96, 100));
    p.setColor(QPalette::Midlight, QColor(84, 84, 88));
    p.setColor(QPalette::Mid, QColor(48, 48, 50));
    p.setColor(QPalette::Dark, QColor(30, 30, 32));
    p.setColor(QPalette::Shadow, QColor(12, 12, 12));
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, QColor(24, 24, 24));
    p.setColor(QPalette::Link, accent);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, dimText);
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(48, 48, 50));
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(62, 62, 64));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(90, 90, 90));
    app.setPalette(p);

    QFont font(QString::fromUtf8(kUiFontFamily));
    font.setPixelSize(kUiFontPixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    app.setFont(font);
}

}  // namespace xp::ui::qt
