// SPDX-License-Identifier: MIT
#include "stroke_box.h"

namespace app {

StrokeBox::StrokeBox(QWidget* parent) : QLineEdit(parent)
{
    // textChanged, not textEdited: code changes must refresh the preview too.
    connect(this, &QLineEdit::textChanged, this, &StrokeBox::changed);
}

void StrokeBox::setText(const QString& text)
{
    const bool unchanged = text == QLineEdit::text();
    QLineEdit::setText(text);
    if (unchanged)
        emit changed();
}

QColor StrokeBox::backColor() const
{
    return palette().color(QPalette::Base);
}

void StrokeBox::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

} // namespace app
