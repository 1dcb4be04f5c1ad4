// SPDX-License-Identifier: MIT
#pragma once
#include <QPixmap>
#include <QToolButton>

namespace app {

// A graphical command button: its face is a picture, shown at its own size
// and centred, cut by the button's edges where it is larger; its text is a
// tooltip.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QPixmap& face, QWidget* parent = nullptr);
    const QPixmap& face() const { return face_; }

    // Where the face lies, and the part of the button inside its bevel that
    // shows it (the rest is cut), both in the button's coordinates.
    QRect faceRect() const;
    QRect visibleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap face_;
};

} // namespace app
