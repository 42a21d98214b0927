#include "picture_control.h"

#include <QMouseEvent>

#include "skin_art.h"

PictureControl::PictureControl(int control_id, const SkinArt& art, QWidget* parent)
    : QLabel(parent), art_(art), control_id_(control_id) {
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureControl::SetPicture(int picture_id) {
    // The panel update sets every picture twice a second; one that is
    // already showing needs no new pixmap and no repaint.
    if (picture_id == picture_id_ && !pixmap().isNull()) return;
    picture_id_ = picture_id;
    const QPixmap picture = art_.Picture(picture_id);
    if (picture.isNull())
        clear();
    else
        setPixmap(picture);
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}
