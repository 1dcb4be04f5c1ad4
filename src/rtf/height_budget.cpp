#include "rtf/height_budget.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

namespace rtf {

namespace {

// QTextOption's default distance between tab stops, in pixels.
constexpr double TabWidth = 80;

// Characters that end a line wherever they stand.
bool ForcesBreak(QChar c)
{
    return c == QChar::LineSeparator || c.unicode() == 0x85;
}

// The advance of `text` as one line. QFontMetricsF stops measuring at
// U+009C (its separator of text variants), which a layout does not.
double Advance(const QFontMetricsF& metrics, QString text)
{
    text.replace(QChar(0x9C), QLatin1Char(' '));
    const auto tabs = static_cast<double>(text.count(QLatin1Char('\t')));
    return std::max(0.0, metrics.horizontalAdvance(text)) + tabs * TabWidth;
}

qsizetype ForcedBreaks(QStringView text)
{
    return std::count_if(text.begin(), text.end(), ForcesBreak);
}

} // namespace

HeightBudget::HeightBudget(const QFont& defaultFont, double textWidth)
    : defaultFont_(defaultFont), textWidth_(textWidth > 0 ? textWidth : 0)
{
    defaultLineHeight_ = fontLineHeight(defaultFont_);
}

double HeightBudget::fontLineHeight(const QFont& font)
{
    if (const auto known = lineHeights_.constFind(font); known != lineHeights_.cend())
        return *known;
    const QFontMetricsF metrics(font);
    const double height = 2.0 * std::max({metrics.lineSpacing(), metrics.height(),
                                          static_cast<double>(QFontInfo(font).pixelSize())});
    lineHeights_.insert(font, height);
    return height;
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
    double width = 0;
    if (flow != Flow::Cell)
        width = textWidth_ - std::max(0.0, paragraph.leftMargin()) - std::max(0.0, paragraph.rightMargin())
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
    const QFont font = format.font().resolve(defaultFont_);
    const QFontMetricsF metrics(font);
    const double lineHeight = std::max(open_.lineHeight, fontLineHeight(font));

    // The paragraph's charge with the first `count` characters added.
    const auto charge = [&](qsizetype count, double advance, qsizetype forced) {
        if (count == 0)
            return open_.charged;
        return lines(open_.characters + count, open_.width + advance, open_.forcedBreaks + forced) * lineHeight;
    };
    const double advance = Advance(metrics, text);
    const qsizetype forced = ForcedBreaks(text);
    qsizetype taken = text.size();
    if (closed_ + charge(taken, advance, forced) <= MaxHeight) {
        open_.width += advance;
        open_.forcedBreaks += forced;
    } else {
        // The longest beginning that fits; it is all that is kept.
        qsizetype fits = 0;
        qsizetype fails = text.size();
        while (fails - fits > 1) {
            const qsizetype middle = fits + (fails - fits) / 2;
            const QString head = text.left(middle);
            if (closed_ + charge(middle, Advance(metrics, head), ForcedBreaks(head)) <= MaxHeight)
                fits = middle;
            else
                fails = middle;
        }
        taken = fits;
        const QString head = text.left(taken);
        open_.width += Advance(metrics, head);
        open_.forcedBreaks += ForcedBreaks(head);
        exhausted_ = true;
    }
    if (taken > 0) {
        open_.characters += taken;
        open_.lineHeight = lineHeight;
        open_.charged = lines(open_.characters, open_.width, open_.forcedBreaks) * lineHeight;
    }
    return taken;
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
