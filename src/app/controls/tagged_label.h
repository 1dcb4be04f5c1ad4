#pragma once
#include <QLabel>

namespace app {

// A label with a hidden Tag. Every caption assignment, also of the caption it
// already shows, raises changed() before setCaption returns: the selection
// cascade chains its steps through these reactions.
class TaggedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QString caption() const { return text(); }
    void setCaption(const QString& caption);

    QString tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }

signals:
    void changed();

protected:
    // Wrapped captions keep the tight line spacing of the design's Ming font,
    // so two lines fit the design's height with any stand-in font.
    void paintEvent(QPaintEvent* event) override;

private:
    QString tag_;
};

} // namespace app
