#include "window_placer.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "window_settings.h"

namespace {

// Window managers nudge a window by its decorations when they map it; a
// change larger than this is the user's.
constexpr int kNudge = 8;

bool Differs(const QRect& a, const QRect& b) {
    return std::abs(a.x() - b.x()) > kNudge || std::abs(a.y() - b.y()) > kNudge ||
           std::abs(a.width() - b.width()) > kNudge || std::abs(a.height() - b.height()) > kNudge;
}

std::vector<QRect> ScreenAreas() {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    return areas;
}

}  // namespace

WindowPlacer::WindowPlacer(QWidget& window, QString name, QSize minimum, Kept kept)
    : QObject(&window),
      window_(&window),
      key_(std::move(name) + (kept == Kept::Position ? QStringLiteral("/position") : QStringLiteral("/geometry"))),
      minimum_(minimum),
      kept_(kept) {
    save_later_ = new QTimer(this);
    save_later_->setSingleShot(true);
    save_later_->setInterval(500);
    connect(save_later_, &QTimer::timeout, this, &WindowPlacer::Save);
    window.installEventFilter(this);
}

void WindowPlacer::PlaceOnce() {
    if (placed_ || !window_) return;
    placed_ = true;
    if (kept_ == Kept::Position)
        PlacePosition();
    else
        PlaceBesidePanel();
}

void WindowPlacer::PlacePosition() {
    // Until the window shows, its decorations are not known.
    const QMargins decorations = kLikelyDecorations;
    const QVariant saved = WindowSettings().value(key_);
    const QSize frame = window_->size().grownBy(decorations);
    const std::optional<QPoint> kept =
        saved.isValid() ? KeptOnScreen(QRect(saved.toPoint(), frame), ScreenAreas()) : std::nullopt;
    QPoint at;
    if (kept) {
        at = *kept;
        // It stays where the user put it; moved in onto a smaller screen,
        // that place is kept for a larger one until the user moves it.
        user_placed_ = at == saved.toPoint();
    } else if (start) {
        at = start(frame);
    } else {
        return;
    }
    // A window's position is that of its frame.
    window_->move(at);
    set_ = QRect(at, window_->size());
}

void WindowPlacer::PlaceBesidePanel() {
    const std::optional<PanelWhere> where = panel ? panel() : std::nullopt;
    const QMargins decorations = where ? where->decorations : QMargins();
    const QRect saved = WindowSettings().value(key_).toRect();
    // A saved place over one of the panel's keys (the panel moved, or the
    // screen is smaller now) is not used: the window goes beside the panel
    // at the size the user gave it.
    if (saved.isValid() && SavedPlaceUsable(saved + decorations, ScreenAreas(), where ? &where->screen : nullptr)) {
        set_ = saved;
        user_placed_ = true;  // it stays where the user put it
    } else if (where) {
        // The window's own least size, measured as it will show (styled
        // and laid out); a narrow one may need more height (its buttons
        // wrap).
        window_->ensurePolished();
        if (window_->layout()) window_->layout()->activate();
        QSize smallest = window_->minimumSizeHint().expandedTo(window_->minimumSize());
        if (window_->hasHeightForWidth())
            smallest.setHeight(std::max(smallest.height(), window_->heightForWidth(smallest.width())));
        QSize least = minimum_.expandedTo(smallest);
        if (window_->hasHeightForWidth())
            least.setHeight(std::max(least.height(), window_->heightForWidth(least.width())));
        // As the user sized it; at first, as tall as the panel at least.
        QSize wanted = saved.isValid() ? saved.size() : window_->size();
        if (!saved.isValid())
            wanted.setHeight(std::max(wanted.height(), (where->screen.panel - decorations).height()));
        const QRect frame = ::PlaceBesidePanel(where->screen, wanted.grownBy(decorations), least.grownBy(decorations),
                                               smallest.grownBy(decorations));
        set_ = frame - decorations;
    } else {
        return;
    }
    window_->setGeometry(set_);
}

QRect WindowPlacer::Now() const {
    return kept_ == Kept::Position ? QRect(window_->pos(), window_->size()) : window_->geometry();
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Hide) {
        Save();
    } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && window_->isVisible()) {
        if (!user_placed_ && Differs(Now(), set_)) user_placed_ = true;
        if (user_placed_) save_later_->start();
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlacer::Save() {
    save_later_->stop();
    if (!window_ || !user_placed_ || window_->isMinimized() || window_->isMaximized()) return;
    if (kept_ == Kept::Position)
        WindowSettings().setValue(key_, window_->pos());
    else
        WindowSettings().setValue(key_, window_->geometry());
}
