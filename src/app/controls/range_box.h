// SPDX-License-Identifier: MIT
#pragma once
#include <QPlainTextEdit>

namespace app {

// A multi-line, display-only box for a range text. It keeps the text exactly
// as assigned (CR LF included), since the stroke checks read it back; the
// view shows each line break as a new line.
class RangeBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit RangeBox(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    bool locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }

private:
    QString text_;
};

} // namespace app
