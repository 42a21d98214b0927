// Where a window that opens beside the roaster's panel goes, as plain
// geometry: beside the panel on the panel's screen (to its right, else to
// its left, else below it), sized to fit the free part of the screen.
// Where no side has room it covers the least of the panel it can: never
// the keys a roast is run with while there is any other choice, and the
// narrowest strip along the panel's edge, in which it takes what room the
// screen leaves it.
// Rectangles are frames (with the window manager's decorations) in the
// desktop's coordinates.
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

struct PanelOnScreen {
    QRect area;               // the available area of the panel's screen
    QRect panel;              // the panel's frame
    std::vector<QRect> keys;  // the panel's keys that must stay in sight
};

// The frame for a window that wants `wanted`, is meant to have at least
// `least`, and can be made as small as `smallest` (empty: `least`) where
// that keeps it clear of the panel or of its keys.
QRect PlaceBesidePanel(const PanelOnScreen& where, QSize wanted, QSize least, QSize smallest = QSize());

// True when a frame saved at `saved` can be used again: most of it lies on
// one of `screens` (their available areas), its title bar with it.
bool StillOnScreen(const QRect& saved, const std::vector<QRect>& screens);
