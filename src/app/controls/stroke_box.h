#pragma once
#include <QColor>
#include <QLineEdit>

namespace app {

// A single-line stroke entry. Locked means the user cannot edit it; it still
// takes the focus. changed() follows every change of the text, typed or set
// by code, and arrives before the change returns.
class StrokeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit StrokeBox(QWidget* parent = nullptr);

    bool locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }

    QColor backColor() const;
    void setBackColor(const QColor& color);

signals:
    void changed();
};

} // namespace app
