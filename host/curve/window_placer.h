// Puts a window beside the roaster's panel when it first opens, and keeps
// where the user moves or resizes it: at the next start it comes back
// there, unless that place is no longer on a screen or covers one of the
// panel's keys, and then it goes beside the panel again. The panel's own
// placer keeps only its position (its size is the skin's) and starts it
// where the windows beside it have room.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "window_placement.h"

class QTimer;
class QWidget;

// Where the panel is on the screen, and the decorations its window has
// (a new window is taken to get the same).
struct PanelWhere {
    PanelOnScreen screen;
    QMargins decorations;
};

class WindowPlacer : public QObject {
public:
    // What is kept of the window: its place and size, or its position only.
    enum class Kept { Geometry, Position };

    // `name` keys the window's place in the settings; `minimum` is the
    // least size it is given beside the panel.
    WindowPlacer(QWidget& window, QString name, QSize minimum, Kept kept = Kept::Geometry);

    // Where the panel is now; none (or not set): the window system places
    // the window.
    std::function<std::optional<PanelWhere>()> panel;
    // For a window that keeps its position only: where its frame, of the
    // size given, starts without a saved position on a screen; not set:
    // the window system places it.
    std::function<QPoint(QSize frame)> start;

    // Before the window first shows: its saved place if that is still on
    // a screen, else beside the panel. Later calls do nothing.
    void PlaceOnce();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceBesidePanel();
    void PlacePosition();
    void Save();
    // Where the window is now, as this placer keeps it.
    QRect Now() const;

    QPointer<QWidget> window_;
    QString key_;
    QSize minimum_;
    Kept kept_;
    bool placed_ = false;
    QRect set_;               // the place this placer gave the window
    bool user_placed_ = false;  // the user moved or resized it since
    QTimer* save_later_ = nullptr;
};
