// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// Builds a Rich Text document the way a Traditional Chinese word processor
// saves one: code page 950, a font table with 新細明體 (Big5 character set)
// and Arial, a colour table, and Chinese as \'hh Big5 byte pairs. Latin text
// is set in Arial, Chinese in 新細明體. Inline **bold** is honoured.
class RtfDocument {
public:
    RtfDocument();

    void heading(const QString& text, int level);  // level 1 or 2
    void paragraph(const QString& text);
    void bullet(const QString& text);
    // The first row is set bold when headerRow is true.
    void table(const QList<QStringList>& rows, bool headerRow);

    QByteArray bytes() const;  // the whole file, closing brace included

private:
    enum class Font { Chinese, Latin };
    void appendText(const QString& text);
    void switchFont(Font font);

    QByteArray body_;
    Font font_ = Font::Latin;
};

// One text as RTF characters: ASCII as is (\, { and } escaped), other
// characters as their Big5 bytes, or as \uN? where code page 950 has none.
QByteArray EscapeRtfText(const QString& text);

} // namespace demo
