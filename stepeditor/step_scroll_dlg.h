// CStepScrollDlg: the scrolling list of the PROGRAM window (template 3016).
// It holds the step rows and scrolls them vertically in units of 10 pixels,
// answering each scroll request by its own table instead of a scroll area's
// arithmetic, so that the editor's auto-scroll and the bar agree.
#pragma once

#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include "editor_state.h"


class CStepScrollDlg {
public:
    enum class Request { LineUp, LineDown, PageUp, PageDown, ThumbTrack, ThumbPosition, Top, Bottom };

    // One scroll unit moves the content by this many pixels.
    static constexpr int kUnitPixels = 10;

    explicit CStepScrollDlg(ScrollState& state);
    ~CStepScrollDlg();
    CStepScrollDlg(const CStepScrollDlg&) = delete;
    CStepScrollDlg& operator=(const CStepScrollDlg&) = delete;

    // Creates the list window (hidden) as a child of the PROGRAM window.
    void Create(QWidget* parent, float scale);
    bool Exists() const { return !window_.isNull(); }
    // True when the list window exists as a child of `parent`.
    bool ExistsIn(const QWidget* parent) const;
    QWidget* Window() const { return window_; }
    // The area the rows are children of.
    QWidget* Content() const { return content_; }
    QScrollBar* ScrollBar() const { return bar_; }

    // Puts the scroll state on the bar: its range, page and position.
    void ApplyState();
    // Answers one scroll request; `track` is the thumb position of a drag.
    void OnVScroll(Request request, int track = 0);
    // Moves every row by `dy` pixels (down when positive).
    void ScrollContent(int dy);

private:
    void OnBarAction(int action);

    ScrollState& state_;
    QPointer<QWidget> window_;
    QPointer<QWidget> content_;
    QPointer<QScrollBar> bar_;
};
