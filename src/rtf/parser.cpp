// SPDX-License-Identifier: MIT
#include "rtf/parser.h"

#include <QTextDocument>

#include <algorithm>

namespace rtf {

namespace {

constexpr double TwipsPerPixel = 15.0;

Qt::Alignment QtAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

} // namespace

Parser::Parser(std::string_view data, QTextDocument& document, double textWidth)
    : tokenizer_(data), builder_(document, textWidth)
{
    stack_.reserve(64);
}

void Parser::run()
{
    while (!finished_) {
        const Token token = tokenizer_.next();
        switch (token.kind) {
        case TokenKind::End: finished_ = true; break;
        case TokenKind::GroupOpen: openGroup(); break;
        case TokenKind::GroupClose: closeGroup(); break;
        case TokenKind::ControlWord: controlWord(token); break;
        case TokenKind::ControlSymbol: controlSymbol(token.parameter); break;
        case TokenKind::HexByte:
            if (!ignoring()) {
                starPending_ = false;
                byte(static_cast<unsigned char>(token.parameter), false);
            }
            break;
        case TokenKind::Text: text(token.text); break;
        }
    }
    // A truncated file still shows what it holds, up to a picture cut short.
    if (!stack_.empty()) {
        flushDecoder();
        if (picture_)
            finishPicture();
    }
    endNote(); // a note cut short still shows
    flushRun();
    builder_.finish();
}

bool Parser::ignoring() const
{
    if (stack_.empty())
        return true;
    const Destination destination = stack_.back().destination;
    // Past the depth limit only shown text is kept, and no destination opens.
    if (overflowDepth_ > 0 && (overflowSkipFrom_ > 0 || destination != Destination::Body))
        return true;
    return destination == Destination::Skip;
}

void Parser::openGroup()
{
    if (!stack_.empty())
        flushDecoder();
    starPending_ = false;
    fallbackLeft_ = 0;
    if (overflowDepth_ > 0 || stack_.size() >= MaxGroupDepth) {
        ++overflowDepth_;
        return;
    }
    if (stack_.empty())
        stack_.emplace_back();
    else
        stack_.push_back(stack_.back());
}

void Parser::closeGroup()
{
    starPending_ = false;
    fallbackLeft_ = 0;
    if (overflowDepth_ > 0) {
        flushDecoder();
        if (overflowSkipFrom_ == overflowDepth_)
            overflowSkipFrom_ = 0;
        --overflowDepth_;
        return;
    }
    if (stack_.empty()) {
        finished_ = true;
        return;
    }
    flushDecoder();
    if (picture_ && stack_.size() == pictureDepth_)
        finishPicture();
    if (noteDepth_ == stack_.size())
        endNote();
    if (state().destination == Destination::FontTable) {
        if (fontEntryOpen_ && !fonts_[fontEntry_].nameDone)
            finishFontName(fonts_[fontEntry_]);
        fontEntryOpen_ = false;
    }
    stack_.pop_back();
    // Whatever follows the closing brace of the document is not part of it.
    if (stack_.empty())
        finished_ = true;
}

void Parser::controlSymbol(int symbol)
{
    if (stack_.empty())
        return;
    if (symbol == '*') {
        starPending_ = true;
        return;
    }
    starPending_ = false;
    if (ignoring())
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}': byte(static_cast<unsigned char>(symbol), false); break; // may be a DBCS trail byte
    case '~': character(0x00A0); break;
    case '_': character(0x2011); break;
    case '-': character(0x00AD); break;
    case '\n': endParagraph(); break;
    default: break;
    }
}

void Parser::text(std::string_view run)
{
    if (ignoring())
        return;
    starPending_ = false;
    switch (state().destination) {
    case Destination::Picture:
        if (picture_)
            picture_->appendHex(run);
        return;
    case Destination::ShapePropertyName:
        // Property names are short ASCII words; nothing longer is one.
        if (shapePropertyName_.size() + static_cast<qsizetype>(run.size()) <= 64)
            shapePropertyName_ += QLatin1String(run.data(), static_cast<qsizetype>(run.size()));
        return;
    case Destination::ColorTable:
        for (const char c : run) {
            if (c == ';') {
                colours_.push_back(colourSet_ ? QColor(red_, green_, blue_) : QColor());
                red_ = green_ = blue_ = 0;
                colourSet_ = false;
            }
        }
        return;
    default: break;
    }
    for (const char c : run)
        byte(static_cast<unsigned char>(c), true);
    // Raw DBCS text may carry a trail byte that is also an RTF special character.
    if (pendingFromRaw_ && decoder_.hasPending()) {
        const int next = tokenizer_.peekByte();
        if (next == '\\' || next == '{' || next == '}')
            byte(static_cast<unsigned char>(tokenizer_.takeRawTrail()), false);
    }
}

void Parser::binary(const Token& token)
{
    const std::string_view data = tokenizer_.takeBinary(token.hasParameter ? token.parameter : 0);
    if (ignoring())
        return;
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    if (state().destination == Destination::Picture && picture_)
        picture_->appendBinary(data);
}

SymbolFont Parser::symbolFont() const
{
    const auto found = fonts_.find(stack_.back().chars.font);
    return found == fonts_.end() ? SymbolFont::None : found->second.symbol;
}

void Parser::finishFontName(FontEntry& entry)
{
    entry.name = entry.name.trimmed();
    entry.nameDone = true;
    entry.symbol = SymbolFontNamed(entry.name);
}

int Parser::codePage() const
{
    const GroupState& group = stack_.back();
    const int font = group.destination == Destination::FontTable ? fontEntry_ : group.chars.font;
    const auto found = fonts_.find(font);
    if (found != fonts_.end()) {
        if (found->second.codePage > 0)
            return found->second.codePage;
        if (const int fromCharset = CodePageForCharset(found->second.charset); fromCharset > 0)
            return fromCharset;
    }
    return documentCodePage_;
}

void Parser::byte(unsigned char value, bool raw)
{
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    const Destination destination = state().destination;
    if (destination == Destination::FontTable) {
        if (!fontEntryOpen_ || fonts_[fontEntry_].nameDone)
            return;
        if (value == ';') {
            flushDecoder();
            finishFontName(fonts_[fontEntry_]);
            return;
        }
    } else if (destination != Destination::Body) {
        return;
    } else if (const char32_t symbol = SymbolFontCharacter(symbolFont(), value)) {
        emitCharacter(symbol); // a symbol font draws pictures where letters would be
        return;
    }
    scratch_.clear();
    decoder_.feed(codePage(), value, scratch_);
    pendingFromRaw_ = raw && decoder_.hasPending();
    if (!scratch_.isEmpty())
        deliver(scratch_);
}

void Parser::character(char32_t c)
{
    if (fallbackLeft_ > 0) {
        --fallbackLeft_;
        return;
    }
    emitCharacter(c);
}

void Parser::emitCharacter(char32_t c)
{
    flushDecoder();
    QString text;
    if (c > 0xFFFF) {
        text.append(QChar(QChar::highSurrogate(c)));
        text.append(QChar(QChar::lowSurrogate(c)));
    } else {
        text.append(QChar(static_cast<char16_t>(c)));
    }
    deliver(text);
}

void Parser::deliver(const QString& decoded)
{
    switch (state().destination) {
    case Destination::Body:
        if (!state().chars.hidden)
            appendBody(decoded);
        break;
    case Destination::FontTable:
        if (fontEntryOpen_ && !fonts_[fontEntry_].nameDone)
            fonts_[fontEntry_].name += decoded;
        break;
    default: break;
    }
}

void Parser::appendBody(const QString& text)
{
    const GroupState& group = state();
    if (!runText_.isEmpty() && (runChars_ != group.chars || runPara_ != group.para))
        flushRun();
    if (runText_.isEmpty()) {
        runChars_ = group.chars;
        runPara_ = group.para;
    }
    runText_ += text;
}

void Parser::flushDecoder()
{
    if (!decoder_.hasPending())
        return;
    scratch_.clear();
    decoder_.flush(scratch_);
    deliver(scratch_);
}

void Parser::flushRun()
{
    if (runText_.isEmpty())
        return;
    builder_.insertText(runText_, charFormat(runChars_), paragraph(runPara_));
    runText_.clear();
}

void Parser::endParagraph()
{
    if (!inBody())
        return;
    flushRun();
    builder_.endParagraph(paragraph(state().para));
}

void Parser::finishPicture()
{
    const PictureData picture = std::move(*picture_);
    picture_.reset();
    if (const base::Result<DecodedPicture> decoded = DecodePicture(picture, pictureBudget_)) {
        flushRun();
        builder_.insertImage(decoded->image, decoded->displaySize, paragraph(state().para));
    }
}

void Parser::footnoteMark()
{
    NoteKind kind = noteKind_;
    int number = 0;
    if (noteDepth_ > 0) {
        // The note's own mark repeats the number the text gave it.
        const auto index = static_cast<std::size_t>(kind);
        if (noteNumber_ == 0)
            noteNumber_ = referencedNote_[index] > 0 ? referencedNote_[index] : ++noteCount_[index];
        number = noteNumber_;
    } else {
        kind = upcomingNoteKind();
        const auto index = static_cast<std::size_t>(kind);
        number = ++noteCount_[index];
        referencedNote_[index] = number;
    }
    // Marks stand raised unless the document places them itself.
    CharState& chars = state().chars;
    const QTextCharFormat::VerticalAlignment vertical = chars.vertical;
    if (vertical == QTextCharFormat::AlignNormal)
        chars.vertical = QTextCharFormat::AlignSuperScript;
    deliver(NoteNumberText(number, noteNumbering_[static_cast<std::size_t>(kind)]));
    chars.vertical = vertical;
}

// A mark in the text comes before its note, and only the note says whether
// it is an endnote (\ftnalt, its first word). A short look ahead settles it.
Parser::NoteKind Parser::upcomingNoteKind() const
{
    constexpr int LookAhead = 32;
    Tokenizer ahead = tokenizer_;
    bool inNote = false;
    for (int i = 0; i < LookAhead; ++i) {
        const Token token = ahead.next();
        switch (token.kind) {
        case TokenKind::End:
        case TokenKind::Text:
        case TokenKind::HexByte: return NoteKind::Footnote;
        case TokenKind::ControlSymbol:
            if (token.parameter != '*')
                return NoteKind::Footnote;
            break;
        case TokenKind::ControlWord: {
            const Word word = LookUpWord(token.text).word;
            if (word == Word::Footnote)
                inNote = true;
            else if (word == Word::EndnoteFlag)
                return inNote ? NoteKind::Endnote : NoteKind::Footnote;
            else if (word == Word::Bin)
                return NoteKind::Footnote;
            break;
        }
        case TokenKind::GroupOpen:
        case TokenKind::GroupClose: break;
        }
    }
    return NoteKind::Footnote;
}

void Parser::endNote()
{
    if (noteDepth_ == 0)
        return;
    flushRun();
    builder_.endNote(noteKind_);
    referencedNote_[static_cast<std::size_t>(noteKind_)] = 0;
    noteDepth_ = 0;
    noteNumber_ = 0;
}

QTextCharFormat Parser::charFormat(const CharState& chars) const
{
    QTextCharFormat format;
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setUnderlineStyle(chars.underline);
    format.setFontStrikeOut(chars.strike);
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(chars.vertical);
    if (const auto font = fonts_.find(chars.font); font != fonts_.end()) {
        const QString family = font->second.name.trimmed();
        if (!family.isEmpty())
            format.setFontFamilies(QStringList{family});
    }
    const auto colour = [this](int index) {
        return index > 0 && index < static_cast<int>(colours_.size()) ? colours_[index] : QColor();
    };
    if (const QColor c = colour(chars.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = colour(chars.background); c.isValid())
        format.setBackground(c);
    return format;
}

Paragraph Parser::paragraph(const ParaState& para) const
{
    QTextBlockFormat format;
    format.setAlignment(QtAlignment(para.alignment));
    format.setLeftMargin(para.leftIndent / TwipsPerPixel);
    format.setRightMargin(para.rightIndent / TwipsPerPixel);
    format.setTextIndent(para.firstIndent / TwipsPerPixel);
    format.setTopMargin(para.spaceBefore / TwipsPerPixel);
    format.setBottomMargin(para.spaceAfter / TwipsPerPixel);
    return {format, para.inTable};
}

} // namespace rtf
