// The panel's push buttons, drawn with images of the roaster's own keys.
//
// A skin button finds its images by its caption and one state letter
// (U up, D down, F focus, X disabled), sizes itself to the up image and
// draws the image of its state, falling back to the up image when the
// state's image does not exist. A quick second click acts as another
// press, so it produces another click rather than being lost as a
// double click.
#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <functional>

#include "button_face.h"

class SkinArt;

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    SkinButton(int control_id, const QString& caption, QWidget* parent);

    // Loads the four images of the caption; when the up image exists the
    // button takes its size without moving. True when the up image exists.
    bool AutoLoad(const SkinArt& art);

    int control_id() const { return control_id_; }
    // The face the button draws in its current state.
    ButtonFace CurrentFace() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QPixmap& Image(ButtonFace face) const;

    int control_id_;
    QPixmap up_, down_, focus_, disabled_;
};

// A button that acts on its click alone.
class DarwButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;
};

// A button whose press and release also feed the panel's hold logic: the
// press callback gets the control id before the button shows itself
// pressed, the release callback runs before the click (if any) is raised.
class CMyButton : public SkinButton {
    Q_OBJECT
public:
    using SkinButton::SkinButton;

    std::function<void(int)> on_press;
    std::function<void()> on_release;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
