// Where a window that opens beside the roaster's panel goes, as plain
// geometry: beside the panel on the panel's screen (to its right, else to
// its left, else below it), sized to fit the free part of the screen.
// Where no side has room it covers the least of the panel it can: never
// the keys a roast is run with while there is any other choice, and the
// narrowest strip along the panel's edge, in which it takes what room the
// screen leaves it.
// The panel itself starts where such a window has room beside it.
// Rectangles are frames (with the window manager's decorations) in the
// desktop's coordinates.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

struct PanelOnScreen {
    QRect area;               // the available area of the panel's screen
    QRect panel;              // the panel's frame
    std::vector<QRect> keys;  // the panel's keys that must stay in sight
};

// A window manager's decorations, somewhat larger than most draw them, for
// a window whose own are not known yet (before it shows, or before the
// window manager has framed it).
inline constexpr QMargins kLikelyDecorations(4, 30, 4, 4);

// The least size a window beside the panel is meant to have: room for a
// readable curve, or the history's few columns.
inline constexpr QSize kLeastBesidePanel(560, 380);

// The frame for a window that wants `wanted`, is meant to have at least
// `least`, and can be made as small as `smallest` (empty: `least`) where
// that keeps it clear of the panel or of its keys.
QRect PlaceBesidePanel(const PanelOnScreen& where, QSize wanted, QSize least, QSize smallest = QSize());

// True when `frame` covers one of the panel's keys.
bool CoversAKey(const PanelOnScreen& where, const QRect& frame);

// Where the panel's frame of `frame` size starts on a screen whose
// available area is `area`, when nothing else says: centred, when that
// leaves a window `beside_width` wide room on a side; else at the left
// edge, so the room is all on its right. Its title bar is on the screen
// either way.
QPoint PanelStart(const QRect& area, QSize frame, int beside_width);

// True when a frame saved at `saved` can be used again: most of it lies on
// one of `screens` (their available areas), its title bar with it.
bool StillOnScreen(const QRect& saved, const std::vector<QRect>& screens);

// The place for a window whose frame was saved at `saved` and keeps its
// position only (the panel): while it is still on a screen, moved as
// little as brings it wholly onto the screen it lies most on (its top
// left corner first, where it is larger than the screen); none when it
// is no longer on a screen.
std::optional<QPoint> KeptOnScreen(const QRect& saved, const std::vector<QRect>& screens);

// True when a window saved at `saved` can come back there: still on a
// screen, and clear of the keys of the panel where it is now (`panel`;
// null: not known). Saved on a larger screen, or before the panel moved,
// a place over a key is not used.
bool SavedPlaceUsable(const QRect& saved, const std::vector<QRect>& screens, const PanelOnScreen* panel);
