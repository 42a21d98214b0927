// A picture control of the panel: shows one picture of the skin at a time,
// centred, and remembers which. The clock icon is a picture control that
// reports clicks.
#pragma once

#include <QLabel>

class SkinArt;

class PictureControl : public QLabel {
    Q_OBJECT
public:
    PictureControl(int control_id, const SkinArt& art, QWidget* parent);

    // Shows the picture; replacing the one shown before. An unknown
    // picture leaves the control empty.
    void SetPicture(int picture_id);
    int picture_id() const { return picture_id_; }
    int control_id() const { return control_id_; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const SkinArt& art_;
    int control_id_;
    int picture_id_ = 0;
    bool pressed_ = false;
};
