// The marks' controls of the curve window: a button for each mark made by
// hand (dry end, first crack, its end, second crack) and "Undo mark", and
// their keys D, F, E, S and Ctrl+Z. They mark the roast being recorded and
// are off while none is.
#pragma once

#include <QWidget>

#include "roast_marks.h"

class QKeyEvent;
class RoastRecorder;

class MarkControls : public QWidget {
public:
    explicit MarkControls(QWidget* parent = nullptr);

    // The recorder whose running roast the controls mark; null turns them
    // off.
    void SetTarget(RoastRecorder* recorder);

    // Marks `kind` now; nothing without a target.
    void MarkNow(MarkKind kind);
    void UndoMark();
    // A key pressed in the window: true when it was one of the marks'
    // keys (a held key marks once).
    bool HandleKey(QKeyEvent* event);

private:
    RoastRecorder* target_ = nullptr;
};
