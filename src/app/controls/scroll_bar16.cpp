// SPDX-License-Identifier: MIT
#include "scroll_bar16.h"
#include <algorithm>
#include <limits>

namespace app {

ScrollBar16::ScrollBar16(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setTracking(false);
    connect(this, &QScrollBar::valueChanged, this, &ScrollBar16::userMoved);
    showSettings();
}

void ScrollBar16::update(const std::function<bool(selection::ScrollSettings&)>& edit)
{
    const bool moved = edit(settings_);
    showSettings();
    if (moved)
        emit changed();
}

bool ScrollBar16::setPosition(int position)
{
    if (position < std::numeric_limits<qint16>::min() || position > std::numeric_limits<qint16>::max())
        return false;
    bool accepted = false;
    update([position, &accepted](selection::ScrollSettings& s) {
        const qint16 before = s.position();
        accepted = s.setPosition(qint16(position));
        return s.position() != before;
    });
    return accepted;
}

void ScrollBar16::showSettings()
{
    showing_ = true;
    setRange(std::min(settings_.minimum(), settings_.maximum()),
             std::max(settings_.minimum(), settings_.maximum()));
    setSingleStep(settings_.smallChange());
    setPageStep(settings_.largeChange());
    setValue(settings_.position());
    showing_ = false;
}

void ScrollBar16::userMoved(int value)
{
    if (showing_ || value == settings_.position())
        return;
    settings_.setPosition(qint16(value));
    emit changed();
}

} // namespace app
