#include "rtf/height_budget.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>

namespace rtf {

HeightBudget::HeightBudget(double defaultPointSize)
    : defaultPointSize_(defaultPointSize > 0 ? defaultPointSize : 12.0)
{
}

double HeightBudget::lineHeight(double pointSize) const
{
    const double points = pointSize > 0 ? pointSize : defaultPointSize_;
    return 2.0 * points * 96.0 / 72.0;
}

bool HeightBudget::take(double height)
{
    if (exhausted_ || !(height >= 0) || used_ + height > MaxHeight) {
        exhausted_ = true;
        return false;
    }
    used_ += height;
    return true;
}

qsizetype HeightBudget::takeCharacters(qsizetype count, const QTextCharFormat& format)
{
    if (exhausted_ || count <= 0)
        return 0;
    const double each = lineHeight(format.fontPointSize());
    const auto fitting = static_cast<qsizetype>(std::floor((MaxHeight - used_) / each));
    if (fitting < count) {
        used_ += static_cast<double>(fitting) * each;
        exhausted_ = true;
        return fitting;
    }
    used_ += static_cast<double>(count) * each;
    return count;
}

bool HeightBudget::takeBreak(const QTextBlockFormat& paragraph)
{
    return take(lineHeight(0) + std::max(0.0, paragraph.topMargin())
                + std::max(0.0, paragraph.bottomMargin()));
}

bool HeightBudget::takePicture(double height)
{
    return take(std::max(0.0, height));
}

} // namespace rtf
