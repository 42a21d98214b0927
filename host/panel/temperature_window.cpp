#include "temperature_window.h"

#include <QPainter>

#include "panel_layout.h"
#include "picture_ids.h"
#include "skin_art.h"
#include "temperature_text.h"

TemperatureWindow::TemperatureWindow(const SkinArt& art, std::function<Reading()> reading, QWidget* parent)
    : QAbstractButton(parent), art_(art), reading_(std::move(reading)) {
    setText("Button1");
    setFocusPolicy(Qt::NoFocus);
}

QString TemperatureWindow::CurrentText() const {
    const Reading r = reading_ ? reading_() : Reading{};
    return QString::fromStdString(TemperatureText(r.fahrenheit, r.celsius));
}

QSize TemperatureWindow::sizeHint() const { return art_.Picture(pic::kTemperatureCelsius).size(); }

void TemperatureWindow::paintEvent(QPaintEvent*) {
    const Reading r = reading_ ? reading_() : Reading{};
    const QPixmap face = art_.Picture(r.celsius ? pic::kTemperatureCelsius : pic::kTemperatureFahrenheit);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!face.isNull()) painter.drawPixmap(rect(), face);
    painter.setFont(text_font_);
    painter.setPen(Qt::black);
    painter.drawText(QRect(layout::kTemperatureTextX, layout::kTemperatureTextY, width(), height()),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(TemperatureText(r.fahrenheit, r.celsius)));
}
