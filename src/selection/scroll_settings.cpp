// SPDX-License-Identifier: MIT
#include "scroll_settings.h"

#include <algorithm>

namespace selection {

bool ScrollSettings::admits(qint16 value) const {
    const auto [low, high] = std::minmax(minimum_, maximum_);
    return low <= value && value <= high;
}

bool ScrollSettings::setPosition(qint16 value) {
    if (!admits(value))
        return false;
    position_ = value;
    return true;
}

bool ScrollSettings::setMinimum(qint16 value) {
    minimum_ = value;
    return pullPositionIntoSpan();
}

bool ScrollSettings::setMaximum(qint16 value) {
    maximum_ = value;
    return pullPositionIntoSpan();
}

void ScrollSettings::setSmallChange(qint16 value) { smallChange_ = std::max<qint16>(value, 1); }
void ScrollSettings::setLargeChange(qint16 value) { largeChange_ = std::max<qint16>(value, 1); }

bool ScrollSettings::pullPositionIntoSpan() {
    const auto [low, high] = std::minmax(minimum_, maximum_);
    const qint16 pulled = std::clamp(position_, low, high);
    if (pulled == position_)
        return false;
    position_ = pulled;
    return true;
}

} // namespace selection
