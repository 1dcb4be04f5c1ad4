// SPDX-License-Identifier: MIT
#include "tagged_label.h"
#include "caption_layout.h"
#include <QPainter>
#include <QTextLayout>

namespace app {

void TaggedLabel::setCaption(const QString& caption)
{
    setText(caption);
    fitCaption();
    emit changed();
}

void TaggedLabel::setDesignGeometry(const QRect& rect, int room)
{
    setGeometry(rect);
    designWidth_ = rect.width();
    room_ = room;
    fitCaption();
}

void TaggedLabel::fitCaption()
{
    if (designWidth_ < 0)
        return;
    resize(CaptionWidth(text(), font(), designWidth_, height(), room_), height());
}

void TaggedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal lineSpacing = CaptionLineSpacing(font());
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        // Centre the font's own line box on the tighter spacing.
        line.setPosition(QPointF(0, y - (line.height() - lineSpacing) / 2));
        y += lineSpacing;
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
}

} // namespace app
