// Puts a window beside the roaster's panel when it first opens, and keeps
// where the user moves or resizes it: at the next start it comes back
// there, unless that place is no longer on a screen, and then it goes
// beside the panel again.
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
    // `name` keys the window's place in the settings; `minimum` is the
    // least size it is given beside the panel.
    WindowPlacer(QWidget& window, QString name, QSize minimum);

    // Where the panel is now; none (or not set): the window system places
    // the window.
    std::function<std::optional<PanelWhere>()> panel;

    // Before the window first shows: its saved place if that is still on
    // a screen, else beside the panel. Later calls do nothing.
    void PlaceOnce();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Save();

    QPointer<QWidget> window_;
    QString key_;
    QSize minimum_;
    bool placed_ = false;
    QRect set_;               // the place this placer gave the window
    bool user_placed_ = false;  // the user moved or resized it since
    QTimer* save_later_ = nullptr;
};
