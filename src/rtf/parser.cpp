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

Parser::Parser(std::string_view data, QTextDocument& document)
    : tokenizer_(data), builder_(document)
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
    flushRun();
    builder_.finish();
}

bool Parser::ignoring() const
{
    return overflowDepth_ > 0 || stack_.empty() || stack_.back().destination == Destination::Skip;
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
    if (state().destination == Destination::FontTable)
        fontEntryOpen_ = false;
    stack_.pop_back();
    // Whatever follows the closing brace of the document is not part of it.
    if (stack_.empty())
        finished_ = true;
}

void Parser::controlSymbol(int symbol)
{
    if (overflowDepth_ > 0 || stack_.empty())
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
            FontEntry& entry = fonts_[fontEntry_];
            entry.name = entry.name.trimmed();
            entry.nameDone = true;
            return;
        }
    } else if (destination != Destination::Body) {
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
    if (const auto decoded = DecodePicture(picture)) {
        flushRun();
        builder_.insertImage(decoded->image, decoded->displaySize, paragraph(state().para));
    }
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
