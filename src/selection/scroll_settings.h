// SPDX-License-Identifier: MIT
#pragma once
#include <QtGlobal>

namespace selection {

// The preview scroll bar's five 16-bit settings. A position outside the span
// between minimum and maximum (in either order: a maximum below the minimum
// is kept as set) is refused and the old position stays.
class ScrollSettings {
public:
    qint16 position() const { return position_; }
    qint16 minimum() const { return minimum_; }
    qint16 maximum() const { return maximum_; }
    qint16 smallChange() const { return smallChange_; }
    qint16 largeChange() const { return largeChange_; }

    bool admits(qint16 value) const;
    // True when the position took the value; false when it was refused.
    bool setPosition(qint16 value);
    // A new span that leaves the position outside pulls the position to its
    // nearest end. True when that moved the position.
    bool setMinimum(qint16 value);
    bool setMaximum(qint16 value);
    // A step below 1 would make the arrows and the trough do nothing: it becomes 1.
    void setSmallChange(qint16 value);
    void setLargeChange(qint16 value);

private:
    bool pullPositionIntoSpan();

    qint16 position_ = 0;
    qint16 minimum_ = 0;
    qint16 maximum_ = 32767;
    qint16 smallChange_ = 1;
    qint16 largeChange_ = 1;
};

} // namespace selection
