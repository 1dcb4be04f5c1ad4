// SPDX-License-Identifier: MIT
#include "rtf/height_budget.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rtf {

namespace {

// QTextOption's default distance between tab stops, in pixels.
constexpr double TabWidth = 80;

// Characters that end a line wherever they stand.
bool ForcesBreak(char32_t c)
{
    return c == QChar::LineSeparator || c == 0x85;
}

} // namespace

HeightBudget::HeightBudget(const QFont& defaultFont, double textWidth)
    : defaultFont_(defaultFont), textWidth_(textWidth > 0 ? textWidth : 0)
{
    defaultLineHeight_ = measures(defaultFont_).lineHeight;
}

HeightBudget::FontMeasures::FontMeasures(const QFont& font) : metrics(font)
{
    latin1Advances.fill(-1);
    lineHeight = 2.0 * std::max({metrics.lineSpacing(), metrics.height(),
                                 static_cast<double>(QFontInfo(font).pixelSize())});
}

double HeightBudget::FontMeasures::advance(char32_t code)
{
    if (code == '\t')
        return TabWidth;
    const bool latin1 = code < latin1Advances.size();
    if (latin1 && latin1Advances[code] >= 0)
        return latin1Advances[code];
    if (!latin1) {
        if (const auto known = advances.constFind(code); known != advances.cend())
            return *known;
    }
    // Characters the font lacks are measured in the font that stands in.
    const double width = std::max(0.0, metrics.horizontalAdvance(QString::fromUcs4(&code, 1)));
    if (latin1)
        latin1Advances[code] = width;
    else
        advances.insert(code, width);
    return width;
}

HeightBudget::FontMeasures& HeightBudget::measures(const QFont& font)
{
    auto known = fonts_.find(font);
    if (known == fonts_.end())
        known = fonts_.insert(font, std::make_shared<FontMeasures>(font));
    return **known;
}

bool HeightBudget::refuse()
{
    exhausted_ = true;
    return false;
}

void HeightBudget::closeOpen()
{
    closed_ += open_.charged;
    open_ = Open{};
}

void HeightBudget::enter(Flow flow, const QTextBlockFormat& paragraph)
{
    const bool started = open_.lineHeight > 0;
    if (started && open_.flow != flow)
        closeOpen();
    const double width = textWidth_ - std::max(0.0, paragraph.leftMargin()) - std::max(0.0, paragraph.rightMargin())
                         - std::max(0.0, paragraph.textIndent());
    if (open_.lineHeight > 0) {
        open_.lineWidth = std::min(open_.lineWidth, width);
        return;
    }
    open_.flow = flow;
    open_.lineWidth = width;
    open_.lineHeight = defaultLineHeight_;
}

double HeightBudget::lines(qsizetype characters, double width, qsizetype forcedBreaks) const
{
    const auto most = static_cast<double>(characters);
    if (open_.lineWidth < 1)
        return most;
    const double wrapped = std::floor(2.0 * width / open_.lineWidth) + 2.0 + 2.0 * static_cast<double>(forcedBreaks);
    return std::min(most, wrapped);
}

qsizetype HeightBudget::takeText(const QString& text, const QTextCharFormat& format,
                                 const QTextBlockFormat& paragraph, Flow flow)
{
    if (exhausted_ || text.isEmpty())
        return 0;
    enter(flow, paragraph);
    FontMeasures& font = measures(format.font().resolve(defaultFont_));
    const double lineHeight = std::max(open_.lineHeight, font.lineHeight);
    const double room = MaxHeight - closed_;

    // The width and forced breaks of the run's first `count` characters.
    struct Span {
        qsizetype count = 0;
        double width = 0;
        qsizetype forced = 0;
    };
    const auto extend = [&](Span& span) {
        const QChar c = text[span.count];
        char32_t code = c.unicode();
        qsizetype size = 1;
        if (c.isHighSurrogate() && span.count + 1 < text.size() && text[span.count + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text[span.count + 1]);
            size = 2;
        }
        span.count += size;
        span.width += font.advance(code);
        if (ForcesBreak(code))
            ++span.forced;
    };
    const auto fits = [&](const Span& span) {
        return lines(open_.characters + span.count, open_.width + span.width, open_.forcedBreaks + span.forced)
                   * lineHeight
               <= room;
    };

    Span whole;
    while (whole.count < text.size())
        extend(whole);
    Span taken = whole;
    if (!fits(whole)) {
        // The longest beginning that fits; it is all that is kept.
        taken = Span{};
        for (Span next = taken; next.count < text.size(); taken = next) {
            extend(next);
            if (!fits(next))
                break;
        }
        exhausted_ = true;
    }
    if (taken.count > 0) {
        open_.characters += taken.count;
        open_.width += taken.width;
        open_.forcedBreaks += taken.forced;
        open_.lineHeight = lineHeight;
        open_.charged = lines(open_.characters, open_.width, open_.forcedBreaks) * lineHeight;
    }
    return taken.count;
}

bool HeightBudget::takePicture(QSizeF size, const QTextBlockFormat& paragraph, Flow flow)
{
    if (exhausted_)
        return false;
    enter(flow, paragraph);
    const double height = size.height();
    const double width = std::max(0.0, size.width());
    if (!(height >= 0) || !std::isfinite(width))
        return refuse();
    // The picture's line is at most as high as the picture and the text beside it.
    const double charged = lines(open_.characters + 1, open_.width + width, open_.forcedBreaks) * open_.lineHeight;
    if (closed_ + height + charged > MaxHeight)
        return refuse();
    closed_ += height;
    open_.characters += 1;
    open_.width += width;
    open_.charged = charged;
    return true;
}

double HeightBudget::measure(double width, const std::function<void(HeightBudget&)>& feed)
{
    HeightBudget part(defaultFont_, width);
    // The measures of the fonts are shared both ways: fonts met while
    // measuring are measured once.
    part.fonts_ = fonts_;
    feed(part);
    fonts_ = part.fonts_;
    if (part.exhausted())
        return std::numeric_limits<double>::infinity();
    return part.closed_ + part.open_.charged;
}

bool HeightBudget::takeHeight(double height)
{
    if (exhausted_)
        return false;
    closeOpen();
    if (!(height >= 0) || closed_ + height > MaxHeight)
        return refuse();
    closed_ += height;
    return true;
}

bool HeightBudget::takeBreak(const QTextBlockFormat& paragraph)
{
    if (exhausted_)
        return false;
    const double height = std::max(open_.charged, defaultLineHeight_) + std::max(0.0, paragraph.topMargin())
                          + std::max(0.0, paragraph.bottomMargin());
    if (closed_ + height > MaxHeight)
        return refuse();
    closed_ += height;
    open_ = Open{};
    return true;
}

} // namespace rtf
