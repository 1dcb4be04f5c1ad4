// SPDX-License-Identifier: MIT
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

    // The label's place in the design and how wide it may grow into the free
    // space beside it, so that a stand-in font a little wider than the
    // design's shows the caption whole (pixels).
    void setDesignGeometry(const QRect& rect, int room);

signals:
    void changed();

protected:
    // Wrapped captions keep the tight line spacing of the design's Ming font,
    // so two lines fit the design's height with any stand-in font.
    void paintEvent(QPaintEvent* event) override;

private:
    void fitCaption();

    QString tag_;
    int designWidth_ = -1;  // not placed yet
    int room_ = 0;
};

} // namespace app
