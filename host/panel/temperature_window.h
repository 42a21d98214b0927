// The temperature window: a button that draws the LCD face of the chosen
// unit and the bean temperature over it. A click is reported like any
// other button's; the window itself only draws. Its owner sizes it to the
// face (200 x 57) once, instead of on every drawing.
#pragma once

#include <QAbstractButton>
#include <QFont>
#include <functional>

class SkinArt;

class TemperatureWindow : public QAbstractButton {
    Q_OBJECT
public:
    struct Reading {
        int fahrenheit = 0;
        bool celsius = false;
    };

    TemperatureWindow(const SkinArt& art, std::function<Reading()> reading, QWidget* parent);

    void SetTextFont(const QFont& font) { text_font_ = font; }
    // The text the window shows now.
    QString CurrentText() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SkinArt& art_;
    std::function<Reading()> reading_;
    QFont text_font_;
};
