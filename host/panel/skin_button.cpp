#include "skin_button.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin_art.h"

SkinButton::SkinButton(int control_id, const QString& caption, QWidget* parent)
    : QAbstractButton(parent), control_id_(control_id) {
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
}

bool SkinButton::AutoLoad(const SkinArt& art) {
    const QString caption = text();
    up_ = art.Named(caption + "U");
    down_ = art.Named(caption + "D");
    focus_ = art.Named(caption + "F");
    disabled_ = art.Named(caption + "X");
    if (up_.isNull()) return false;
    resize(up_.size());
    update();
    return true;
}

ButtonFace SkinButton::CurrentFace() const {
    return ChooseButtonFace(isDown(), hasFocus(), isEnabled(),
                            ButtonImagesPresent{!down_.isNull(), !focus_.isNull(), !disabled_.isNull()});
}

QSize SkinButton::sizeHint() const { return up_.isNull() ? QAbstractButton::sizeHint() : up_.size(); }

const QPixmap& SkinButton::Image(ButtonFace face) const {
    switch (face) {
    case ButtonFace::Down: return down_;
    case ButtonFace::Focus: return focus_;
    case ButtonFace::Disabled: return disabled_;
    case ButtonFace::Up: break;
    }
    return up_;
}

void SkinButton::paintEvent(QPaintEvent*) {
    const QPixmap& image = Image(CurrentFace());
    if (image.isNull()) return;  // no up image: the button draws nothing of its own
    QPainter painter(this);
    painter.drawPixmap(0, 0, image);
}

void SkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second click of a double click is another press.
    mousePressEvent(event);
}

void CMyButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && on_press) on_press(control_id());
    SkinButton::mousePressEvent(event);
}

void CMyButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && on_release) on_release();
    SkinButton::mouseReleaseEvent(event);
}
