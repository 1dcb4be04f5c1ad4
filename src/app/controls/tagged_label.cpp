#include "tagged_label.h"
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace app {

void TaggedLabel::setCaption(const QString& caption)
{
    setText(caption);
    emit changed();
}

} // namespace app

namespace app {

void TaggedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal lineSpacing = std::ceil(QFontInfo(font()).pixelSize() * 1.2);
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
