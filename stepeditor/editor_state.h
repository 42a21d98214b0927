// The step editor's own state, one instance in the library: the host window,
// whether the PROGRAM window is shown, the display scale, the remembered
// placement, the scroll state of the step list and the dot counters of the
// progress texts. The row table lives in CProgramDlg.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>

class STEP_PART;

// The vertical scroll state of the step list, in scroll units of 10 pixels.
struct ScrollState {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
};

// Counters that animate the dots behind the RUN and COOL texts; shared by
// every row.
struct DotCounters {
    int run = 0;
    int cool = 0;
};

struct LibraryState {
    // The host window: target of the editor's messages and reference for
    // placing the PROGRAM window.
    QPointer<QWidget> hostWnd;
    // 1 from ShowDlg until the PROGRAM window is closed.
    uint8_t shown = 0;
    // The step number update_data last scrolled to.
    int lastStep = 0;
    // The display scale: 1.0 at 96 dots per inch.
    float scale = 1.0f;
    // Where the PROGRAM window opens, relative to the host window's corner.
    QPoint placement{265, 340};
    ScrollState scroll;
    // Height of the row area in pixels; sets the scroll range.
    int rowAreaHeight = 100;
    DotCounters dots;

    // The exported data: written by the host (lock) and by the row table
    // (first row). Point at the library's exports, or at a test's own.
    unsigned char* lock = nullptr;
    STEP_PART** partAll = nullptr;

    bool Locked() const { return lock && *lock != 0; }
};

// Pixels of a template measure in dialog units (2 pixels a unit at scale 1).
inline int DialogUnits(int units, float scale) { return static_cast<int>(units * 2 * scale); }

// The display scale for a screen of `dpi` logical dots per inch, never
// below 1.0.
inline float DisplayScale(int dpi) {
    const float scale = static_cast<float>((dpi - 96) * 1.041666 * 0.01 + 1.0);
    return scale < 1.0f ? 1.0f : scale;
}

// Fixed texts of the editor.
namespace editortext {
inline const char* const kListEmpty = "链表为空";
inline const char* const kListTooLong = "链表载入超出范围";
inline const char* const kCannotDeleteOnly = "Cannot delete only STEP !";
inline const char* const kAskDownload = "Are you sure want to download this step setting?";
}  // namespace editortext

// The host window's top-left corner on the screen (its frame for a top-level
// window); the origin of the PROGRAM window's placement.
inline QPoint HostOrigin(const LibraryState& state) {
    QWidget* host = state.hostWnd;
    if (!host) return QPoint();
    return host->isWindow() ? host->pos() : host->mapToGlobal(QPoint());
}
