// SPDX-License-Identifier: MIT
#pragma once
#include "selection/scroll_settings.h"
#include <QScrollBar>
#include <functional>

namespace app {

// A vertical scroll bar over 16-bit settings, which it keeps as assigned
// (a maximum below the minimum included) and mirrors to the widget as far as
// the widget can show them. changed() follows every change of the position,
// by code or by the user; while the thumb is dragged nothing is reported,
// only where it is released.
class ScrollBar16 : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar16(QWidget* parent = nullptr);

    const selection::ScrollSettings& settings() const { return settings_; }
    // Applies an edit that returns whether it moved the position.
    void update(const std::function<bool(selection::ScrollSettings&)>& edit);
    bool setPosition(int position);  // false when refused

signals:
    void changed();

private:
    void showSettings();
    void userMoved(int value);

    selection::ScrollSettings settings_;
    bool showing_ = false;
};

} // namespace app
