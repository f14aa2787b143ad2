// Text between the UI layer (UTF-8, CR LF line breaks as stored texts have them) and Qt (QString, LF).
#pragma once

#include <QString>
#include <string>

namespace xp::ui::qt {

inline QString toQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQt(const QString& text) {
    QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// For showing: every CR LF or lone CR becomes a line feed.
inline QString toQtLines(const std::string& text) {
    QString s = toQt(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// For keeping what the user typed in a multi-line box: line breaks become CR LF.
inline std::string fromQtLines(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return fromQt(s);
}

// Captions of buttons and boxes: an '&' is a plain character here, not a shortcut marker.
inline QString toQtCaption(const std::string& text) {
    QString s = toQtLines(text);
    s.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return s;
}

}  // namespace xp::ui::qt
