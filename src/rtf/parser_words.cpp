// SPDX-License-Identifier: MIT
#include "rtf/parser.h"

#include <algorithm>

namespace rtf {

namespace {

constexpr int MaxIndentTwips = 31680; // 22 inches, the widest page RTF describes
constexpr int MaxHalfPoints = 3276;
constexpr int MaxPictureTwips = 1'000'000;
constexpr int MaxPictureHimetric = 2'000'000;
constexpr int MaxCellEdgeTwips = 1'000'000;

int Parameter(const Token& token, int fallback) { return token.hasParameter ? token.parameter : fallback; }

// \b, \b1 switch on; \b0 switches off.
bool Toggle(const Token& token) { return !token.hasParameter || token.parameter != 0; }

int Twips(const Token& token) { return std::clamp(Parameter(token, 0), -MaxIndentTwips, MaxIndentTwips); }

QTextCharFormat::UnderlineStyle UnderlineFor(Word word)
{
    switch (word) {
    case Word::UnderlineDotted: return QTextCharFormat::DotLine;
    case Word::UnderlineDashed: return QTextCharFormat::DashUnderline;
    case Word::UnderlineDashDot: return QTextCharFormat::DashDotLine;
    case Word::UnderlineDashDotDot: return QTextCharFormat::DashDotDotLine;
    case Word::UnderlineWave: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

} // namespace

void Parser::controlWord(const Token& token)
{
    const WordInfo info = LookUpWord(token.text);
    if (info.word == Word::Bin) {
        binary(token); // the data must be consumed wherever it stands
        return;
    }
    if (stack_.empty())
        return;
    if (starPending_) {
        starPending_ = false;
        if (!IsShownStarredDestination(info.word)) {
            if (overflowDepth_ == 0)
                state().destination = Destination::Skip;
            else if (overflowSkipFrom_ == 0)
                overflowSkipFrom_ = overflowDepth_;
            return;
        }
    }
    if (ignoring())
        return;
    flushDecoder(); // a multi-byte character never spans a control word
    if (overflowDepth_ > 0)
        overflowWord(info, token);
    else
        shownWord(info, token);
}

// Groups past the depth limit keep their characters and breaks in the
// formatting of the deepest kept group; any destination they open is
// skipped, and formatting words are ignored, so nothing they do outlives them.
void Parser::overflowWord(const WordInfo& info, const Token& token)
{
    switch (info.word) {
    case Word::Unicode:
    case Word::Par:
    case Word::Cell:
    case Word::Row:
    case Word::Line:
    case Word::Tab:
    case Word::NestedCell:
    case Word::NestedRow:
    case Word::Character: shownWord(info, token); break;
    case Word::FontTable:
    case Word::ColorTable:
    case Word::Picture:
    case Word::SkippedDestination:
    case Word::ShapePropertyName:
    case Word::ShapePropertyValue:
    case Word::Footnote:
        if (overflowSkipFrom_ == 0)
            overflowSkipFrom_ = overflowDepth_;
        break;
    default: break;
    }
}

void Parser::shownWord(const WordInfo& info, const Token& token)
{
    switch (info.word) {
    case Word::Unknown:
    case Word::Bin:
    case Word::Rtf:
    case Word::ShapeInstructions:
        break;
    case Word::Ansi:
    case Word::Mac:
    case Word::Pc:
    case Word::Pca:
    case Word::AnsiCodePage:
    case Word::DefaultFont:
    case Word::UnicodeSkip:
    case Word::Unicode:
        documentWord(info.word, token);
        break;
    case Word::FontTable:
    case Word::ColorTable:
    case Word::Picture:
    case Word::ShapePicture:
    case Word::FieldResult:
    case Word::ListText:
    case Word::SkippedDestination:
        destinationWord(info.word);
        break;
    case Word::ShapeProperty:
    case Word::ShapePropertyName:
    case Word::ShapePropertyValue:
        shapeWord(info.word);
        break;
    case Word::Footnote:
    case Word::EndnoteFlag:
    case Word::FootnoteMark:
    case Word::FootnoteNumbering:
    case Word::EndnoteNumbering:
        noteWord(info);
        break;
    case Word::Font:
    case Word::FontCharset:
    case Word::FontCodePage:
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        tableWord(info.word, token);
        break;
    case Word::Plain:
    case Word::Bold:
    case Word::Italic:
    case Word::Underline:
    case Word::UnderlineDotted:
    case Word::UnderlineDashed:
    case Word::UnderlineDashDot:
    case Word::UnderlineDashDotDot:
    case Word::UnderlineWave:
    case Word::UnderlineNone:
    case Word::Strike:
    case Word::FontSize:
    case Word::Foreground:
    case Word::Background:
    case Word::Hidden:
    case Word::Superscript:
    case Word::Subscript:
    case Word::NoSuperSub:
        characterWord(info.word, token);
        break;
    case Word::ParagraphDefault:
    case Word::AlignLeft:
    case Word::AlignCenter:
    case Word::AlignRight:
    case Word::AlignJustify:
    case Word::LeftIndent:
    case Word::RightIndent:
    case Word::FirstIndent:
    case Word::SpaceBefore:
    case Word::SpaceAfter:
    case Word::InTable:
        paragraphWord(info.word, token);
        break;
    case Word::Par:
    case Word::Cell:
    case Word::Row:
    case Word::RowDefaults:
    case Word::CellRightEdge:
        breakWord(info.word, token);
        break;
    case Word::Line: character(0x2028); break;
    case Word::Tab: character('\t'); break;
    case Word::NestedCell: character('\t'); break;
    case Word::NestedRow: character(0x2028); break;
    case Word::Character: character(info.character); break;
    case Word::PngBlip:
    case Word::JpegBlip:
    case Word::WmfBlip:
    case Word::EmfBlip:
    case Word::OtherBlip:
    case Word::PictureWidth:
    case Word::PictureHeight:
    case Word::PictureGoalWidth:
    case Word::PictureGoalHeight:
    case Word::PictureScaleX:
    case Word::PictureScaleY:
        pictureWord(info.word, token);
        break;
    }
}

void Parser::documentWord(Word word, const Token& token)
{
    switch (word) {
    case Word::Ansi: documentCodePage_ = WesternCodePage; break;
    case Word::Mac: documentCodePage_ = 10000; break;
    case Word::Pc: documentCodePage_ = 437; break;
    case Word::Pca: documentCodePage_ = 850; break;
    case Word::AnsiCodePage:
        if (Parameter(token, 0) > 0)
            documentCodePage_ = token.parameter;
        break;
    case Word::DefaultFont:
        defaultFont_ = Parameter(token, 0);
        state().chars.font = defaultFont_;
        break;
    case Word::UnicodeSkip: state().unicodeSkip = std::clamp(Parameter(token, 1), 0, 16); break;
    case Word::Unicode: {
        // A signed 16-bit value; larger ones are taken as code points.
        long long value = Parameter(token, 0);
        if (value < 0 && value >= -32768)
            value += 65536;
        if (value > 0 && value <= 0x10FFFF) {
            fallbackLeft_ = 0;
            character(SymbolFontCodePoint(symbolFont(), static_cast<char32_t>(value)));
        }
        fallbackLeft_ = state().unicodeSkip;
        break;
    }
    default: break;
    }
}

void Parser::destinationWord(Word word)
{
    GroupState& group = state();
    switch (word) {
    case Word::FontTable: group.destination = Destination::FontTable; break;
    case Word::ColorTable:
        group.destination = Destination::ColorTable;
        red_ = green_ = blue_ = 0;
        colourSet_ = false;
        break;
    case Word::Picture:
        // One picture at a time, and only where it can be shown.
        if (group.destination != Destination::Body || picture_) {
            group.destination = Destination::Skip;
            break;
        }
        group.destination = Destination::Picture;
        picture_.emplace();
        pictureDepth_ = stack_.size();
        break;
    case Word::ListText: group.paragraphLocked = true; break;
    case Word::SkippedDestination: group.destination = Destination::Skip; break;
    default: break; // shown like any other group
    }
}

// Of a shape's properties only its picture ("pib") is content; its text box
// (\shptxt) is an ordinary group and shows where the shape stands.
void Parser::shapeWord(Word word)
{
    GroupState& group = state();
    switch (word) {
    case Word::ShapeProperty: shapePropertyName_.clear(); break;
    case Word::ShapePropertyName:
        shapePropertyName_.clear();
        group.destination = Destination::ShapePropertyName;
        break;
    case Word::ShapePropertyValue:
        if (shapePropertyName_ != QLatin1String("pib"))
            group.destination = Destination::Skip;
        break;
    default: break;
    }
}

void Parser::noteWord(const WordInfo& info)
{
    switch (info.word) {
    case Word::Footnote: {
        GroupState& group = state();
        // Notes hold no notes, and show only from shown text.
        if (group.destination != Destination::Body || noteDepth_ > 0) {
            group.destination = Destination::Skip;
            break;
        }
        flushRun();
        builder_.beginNote();
        noteDepth_ = stack_.size();
        noteKind_ = NoteKind::Footnote;
        noteNumber_ = 0;
        break;
    }
    case Word::EndnoteFlag:
        if (noteDepth_ > 0)
            noteKind_ = NoteKind::Endnote;
        break;
    case Word::FootnoteMark:
        if (inBody())
            footnoteMark();
        break;
    case Word::FootnoteNumbering: noteNumbering_[0] = info.numbering; break;
    case Word::EndnoteNumbering: noteNumbering_[1] = info.numbering; break;
    default: break;
    }
}

void Parser::tableWord(Word word, const Token& token)
{
    GroupState& group = state();
    const int value = Parameter(token, 0);
    switch (word) {
    case Word::Font:
        if (group.destination == Destination::FontTable) {
            fontEntry_ = value;
            fontEntryOpen_ = true;
            fonts_[value];
        } else {
            group.chars.font = value;
        }
        break;
    case Word::FontCharset:
        if (group.destination == Destination::FontTable && fontEntryOpen_)
            fonts_[fontEntry_].charset = value;
        break;
    case Word::FontCodePage:
        if (group.destination == Destination::FontTable && fontEntryOpen_)
            fonts_[fontEntry_].codePage = value;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (group.destination != Destination::ColorTable)
            break;
        (word == Word::Red ? red_ : word == Word::Green ? green_ : blue_) = std::clamp(value, 0, 255);
        colourSet_ = true;
        break;
    default: break;
    }
}

void Parser::characterWord(Word word, const Token& token)
{
    CharState& chars = state().chars;
    switch (word) {
    case Word::Plain:
        chars = CharState{};
        chars.font = defaultFont_;
        break;
    case Word::Bold: chars.bold = Toggle(token); break;
    case Word::Italic: chars.italic = Toggle(token); break;
    case Word::Strike: chars.strike = Toggle(token); break;
    case Word::Hidden: chars.hidden = Toggle(token); break;
    case Word::Underline:
    case Word::UnderlineDotted:
    case Word::UnderlineDashed:
    case Word::UnderlineDashDot:
    case Word::UnderlineDashDotDot:
    case Word::UnderlineWave:
        chars.underline = Toggle(token) ? UnderlineFor(word) : QTextCharFormat::NoUnderline;
        break;
    case Word::UnderlineNone: chars.underline = QTextCharFormat::NoUnderline; break;
    case Word::FontSize: {
        const int halfPoints = Parameter(token, 24);
        chars.halfPoints = halfPoints > 0 ? std::min(halfPoints, MaxHalfPoints) : 24;
        break;
    }
    case Word::Foreground: chars.foreground = std::max(Parameter(token, 0), 0); break;
    case Word::Background: chars.background = std::max(Parameter(token, 0), 0); break;
    case Word::Superscript:
        chars.vertical = Toggle(token) ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Word::Subscript:
        chars.vertical = Toggle(token) ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Word::NoSuperSub: chars.vertical = QTextCharFormat::AlignNormal; break;
    default: break;
    }
}

void Parser::paragraphWord(Word word, const Token& token)
{
    GroupState& group = state();
    if (group.paragraphLocked)
        return;
    ParaState& para = group.para;
    switch (word) {
    case Word::ParagraphDefault: para = ParaState{}; break;
    case Word::AlignLeft: para.alignment = Alignment::Left; break;
    case Word::AlignCenter: para.alignment = Alignment::Center; break;
    case Word::AlignRight: para.alignment = Alignment::Right; break;
    case Word::AlignJustify: para.alignment = Alignment::Justify; break;
    case Word::LeftIndent: para.leftIndent = Twips(token); break;
    case Word::RightIndent: para.rightIndent = Twips(token); break;
    case Word::FirstIndent: para.firstIndent = Twips(token); break;
    case Word::SpaceBefore: para.spaceBefore = std::max(Twips(token), 0); break;
    case Word::SpaceAfter: para.spaceAfter = std::max(Twips(token), 0); break;
    case Word::InTable: para.inTable = Toggle(token); break;
    default: break;
    }
}

void Parser::breakWord(Word word, const Token& token)
{
    switch (word) {
    case Word::Par: endParagraph(); break;
    // Notes hold no tables: their cells and rows become tabs and paragraphs.
    case Word::Cell:
        if (noteDepth_ > 0) {
            character('\t');
        } else if (inBody()) {
            flushRun();
            builder_.endCell(paragraph(state().para));
        }
        break;
    case Word::Row:
        if (noteDepth_ > 0) {
            endParagraph();
        } else if (inBody()) {
            flushRun();
            builder_.endRow(cellRightEdges_);
        }
        break;
    case Word::RowDefaults: cellRightEdges_.clear(); break;
    case Word::CellRightEdge:
        if (cellRightEdges_.size() < static_cast<std::size_t>(DocumentBuilder::MaxColumns))
            cellRightEdges_.push_back(std::clamp(Parameter(token, 0), 0, MaxCellEdgeTwips));
        break;
    default: break;
    }
}

void Parser::pictureWord(Word word, const Token& token)
{
    if (!picture_ || state().destination != Destination::Picture)
        return;
    PictureData& picture = *picture_;
    const int value = Parameter(token, 0);
    switch (word) {
    case Word::PngBlip: picture.kind = PictureData::Kind::Png; break;
    case Word::JpegBlip: picture.kind = PictureData::Kind::Jpeg; break;
    case Word::WmfBlip: picture.kind = PictureData::Kind::Wmf; break;
    case Word::EmfBlip: picture.kind = PictureData::Kind::Emf; break;
    case Word::OtherBlip: picture.kind = PictureData::Kind::Unsupported; break;
    case Word::PictureWidth: picture.width = std::clamp(value, 0, MaxPictureHimetric); break;
    case Word::PictureHeight: picture.height = std::clamp(value, 0, MaxPictureHimetric); break;
    case Word::PictureGoalWidth: picture.goalWidth = std::clamp(value, 0, MaxPictureTwips); break;
    case Word::PictureGoalHeight: picture.goalHeight = std::clamp(value, 0, MaxPictureTwips); break;
    case Word::PictureScaleX: picture.scaleX = std::clamp(value, 1, 1000); break;
    case Word::PictureScaleY: picture.scaleY = std::clamp(value, 1, 1000); break;
    default: break;
    }
}

} // namespace rtf
