// A pair of up and down arrows beside a field, without a buddy. Each press
// reports a step: with a range whose upper end lies above its lower end the
// up arrow reports +1 and the down arrow -1; with the default range (100 at
// the lower end, 0 at the upper end) the directions are reversed. Holding an
// arrow repeats the step.
#pragma once

#include <QWidget>

class QToolButton;

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }

    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

    // The step the up (true) or down (false) arrow reports.
    int DeltaFor(bool upArrow) const;

signals:
    // A step requested by an arrow.
    void DeltaPos(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int lower_ = 100;
    int upper_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};
