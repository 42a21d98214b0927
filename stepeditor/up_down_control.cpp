#include "up_down_control.h"

#include <QToolButton>

namespace {
QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(100);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
    connect(up_, &QToolButton::clicked, this, [this] { emit DeltaPos(DeltaFor(true)); });
    connect(down_, &QToolButton::clicked, this, [this] { emit DeltaPos(DeltaFor(false)); });
}

void UpDownControl::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

int UpDownControl::DeltaFor(bool upArrow) const {
    const int up = upper_ >= lower_ ? 1 : -1;
    return upArrow ? up : -up;
}

void UpDownControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}
