// SPDX-License-Identifier: MIT
#include "rtf_document.h"
#include "big5.h"
#include <algorithm>

namespace demo {

namespace {

constexpr int kTableWidthTwips = 9900;

QByteArray HexBytes(const QByteArray& bytes)
{
    QByteArray out;
    for (const char byte : bytes) {
        out += "\\'";
        out += QByteArray::number(static_cast<unsigned char>(byte), 16).rightJustified(2, '0');
    }
    return out;
}

QByteArray EscapeCharacter(const QString& character)
{
    const char16_t first = character.at(0).unicode();
    if (character.size() == 1 && first < 0x80) {
        if (first == u'\\' || first == u'{' || first == u'}')
            return QByteArray("\\") + char(first);
        if (first == u'\t')
            return "\\tab ";
        if (first < 0x20)
            return {};
        return QByteArray(1, char(first));
    }
    if (const std::optional<QByteArray> encoded = EncodeCp950(character))
        return HexBytes(*encoded);
    QByteArray out;
    for (const QChar unit : character)
        out += "\\u" + QByteArray::number(static_cast<qint16>(unit.unicode())) + '?';
    return out;
}

// Splits into characters, keeping a surrogate pair together.
QStringList Characters(const QString& text)
{
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            characters.append(text.mid(i, 2));
            ++i;
        } else {
            characters.append(text.mid(i, 1));
        }
    }
    return characters;
}

QByteArray FontTable()
{
    const QByteArray mingliu = EncodeCp950(QStringLiteral("新細明體")).value_or(QByteArray());
    return "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset136 " + HexBytes(mingliu)
        + "{\\*\\falt PMingLiU};}{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n";
}

} // namespace

QByteArray EscapeRtfText(const QString& text)
{
    QByteArray out;
    for (const QString& character : Characters(text))
        out += EscapeCharacter(character);
    return out;
}

RtfDocument::RtfDocument() = default;

void RtfDocument::switchFont(Font font)
{
    if (font == font_)
        return;
    body_ += font == Font::Chinese ? "\\f0\\lang1028 " : "\\f1\\lang1033 ";
    font_ = font;
}

void RtfDocument::appendText(const QString& text)
{
    bool bold = false;
    const QStringList pieces = text.split(QStringLiteral("**"));
    for (qsizetype p = 0; p < pieces.size(); ++p) {
        if (p > 0) {
            bold = !bold;
            body_ += bold ? "\\b " : "\\b0 ";
        }
        for (const QString& character : Characters(pieces.at(p))) {
            const bool latin = character.at(0).unicode() < 0x80;
            // Blanks and Latin punctuation stay in the font of their neighbours.
            if (!latin)
                switchFont(Font::Chinese);
            else if (character.at(0).isLetterOrNumber())
                switchFont(Font::Latin);
            body_ += EscapeCharacter(character);
        }
    }
    if (bold)
        body_ += "\\b0 ";
}

void RtfDocument::heading(const QString& text, int level)
{
    body_ += level <= 1 ? "\\pard\\sb240\\sa120\\cf2\\b\\fs32 " : "\\pard\\sb160\\sa80\\cf3\\b\\fs24 ";
    appendText(text);
    body_ += "\\cf0\\b0\\fs20\\par\r\n";
}

void RtfDocument::paragraph(const QString& text)
{
    body_ += "\\pard\\sa100\\fs20 ";
    appendText(text);
    body_ += "\\par\r\n";
}

void RtfDocument::bullet(const QString& text)
{
    body_ += "\\pard\\fi-284\\li568\\tx568\\sa60\\fs20 \\bullet\\tab ";
    appendText(text);
    body_ += "\\par\r\n";
}

void RtfDocument::table(const QList<QStringList>& rows, bool headerRow)
{
    qsizetype columns = 0;
    for (const QStringList& row : rows)
        columns = std::max(columns, row.size());
    if (columns == 0)
        return;
    const int cellWidth = kTableWidthTwips / static_cast<int>(columns);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        body_ += "\\trowd\\trgaph108\\trleft0";
        for (qsizetype c = 0; c < columns; ++c) {
            body_ += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                     "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
            if (r == 0 && headerRow)
                body_ += "\\clcbpat5";
            body_ += "\\cellx" + QByteArray::number(cellWidth * static_cast<int>(c + 1));
        }
        body_ += "\r\n\\pard\\intbl\\fs20 ";
        const bool bold = r == 0 && headerRow;
        for (qsizetype c = 0; c < columns; ++c) {
            if (bold)
                body_ += "\\b ";
            appendText(c < rows.at(r).size() ? rows.at(r).at(c) : QString());
            body_ += bold ? "\\b0\\cell " : "\\cell ";
        }
        body_ += "\\row\r\n";
    }
    body_ += "\\pard\\sa100\\par\r\n";
}

QByteArray RtfDocument::bytes() const
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg950\\deff0\\deflang1033\\deflangfe1028";
    out += FontTable();
    out += "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green64\\blue128;\\red153\\green0\\blue0;"
           "\\red128\\green128\\blue128;\\red220\\green230\\blue242;}\r\n";
    out += "{\\*\\generator TALVEX demo 2017;}\\viewkind4\\uc1\\pard\\f1\\lang1033\\fs20\r\n";
    out += body_;
    out += "}\r\n";
    return out;
}

} // namespace demo
