// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QLineEdit>

namespace app {

// A single-line stroke entry. Locked means the user cannot edit it; it still
// takes the focus. changed() follows every change of the text typed by the
// user, and every assignment by code, also of the text it already holds (the
// cascade resets the box to "0" and expects the preview to refresh); it
// arrives before the change returns.
class StrokeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit StrokeBox(QWidget* parent = nullptr);

    // Hides QLineEdit::setText, which stays silent when the text is unchanged.
    void setText(const QString& text);

    bool locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }

    QColor backColor() const;
    void setBackColor(const QColor& color);

signals:
    void changed();
};

} // namespace app
