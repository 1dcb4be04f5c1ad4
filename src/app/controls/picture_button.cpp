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

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.icon = QIcon();
    option.features &= ~QStyleOptionToolButton::HasMenu;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const int inset = isDown() ? 3 : 2;  // pressed faces shift like a real key
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    painter.setClipRect(inside);
    const QPoint corner(inside.x() + (inside.width() - face_.width()) / 2 + inset - 2,
                        inside.y() + (inside.height() - face_.height()) / 2 + inset - 2);
    painter.drawPixmap(corner, face_);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inside.adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace app
