// SPDX-License-Identifier: MIT
#include "picture_button.h"
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace app {

PictureButton::PictureButton(const QPixmap& face, QWidget* parent)
    : QToolButton(parent), face_(face)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::StrongFocus);
}

QRect PictureButton::visibleRect() const
{
    return rect().adjusted(2, 2, -2, -2);
}

QRect PictureButton::faceRect() const
{
    const QRect inside = visibleRect();
    const int shift = isDown() ? 1 : 0;  // pressed faces move like a real key
    return QRect(QPoint(inside.x() + (inside.width() - face_.width()) / 2 + shift,
                        inside.y() + (inside.height() - face_.height()) / 2 + shift),
                 face_.size());
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    option.features &= ~QStyleOptionToolButton::HasMenu;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect inside = visibleRect();
    painter.setClipRect(inside);
    painter.drawPixmap(faceRect().topLeft(), face_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inside.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace app
