#include "window_placement.h"

#include <algorithm>
#include <tuple>

namespace {

long long AreaOf(const QRect& r) { return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height(); }

// `start` moved so that a span of `length` from it lies within [low, high].
int Clamp(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length + 1)); }

// Which side of the panel a frame mostly lies on: right, left, below, above.
int SideRank(const QRect& frame, const QRect& panel) {
    const QPoint c = frame.center();
    const QPoint p = panel.center();
    const int dx = c.x() - p.x();
    const int dy = c.y() - p.y();
    if (std::abs(dx) * panel.height() >= std::abs(dy) * panel.width()) return dx >= 0 ? 0 : 1;
    return dy >= 0 ? 2 : 3;
}

// What a frame covers of the panel: how many of its keys, and how far it
// reaches into it (the narrower side of the part it covers).
struct Cover {
    int keys = 0;
    int depth = 0;
};

Cover CoverOf(const PanelOnScreen& where, const QRect& frame) {
    Cover cover;
    for (const QRect& key : where.keys) cover.keys += frame.intersects(key) ? 1 : 0;
    const QRect covered = frame & where.panel;
    cover.depth = covered.isEmpty() ? 0 : std::min(covered.width(), covered.height());
    return cover;
}

// `frame` grown towards `wanted` within the screen, edge by edge, as long
// as it covers no more of the panel's keys and reaches no further into it.
QRect Grown(const PanelOnScreen& where, QRect frame, const Cover& cover, QSize wanted) {
    constexpr int kStep = 8;
    for (bool grew = true; grew;) {
        grew = false;
        for (int edge = 0; edge < 4; ++edge) {
            QRect next = frame;
            if (edge == 0) next.setTop(std::max(where.area.top(), frame.top() - kStep));
            if (edge == 1) next.setBottom(std::min(where.area.bottom(), frame.bottom() + kStep));
            if (edge == 2) next.setLeft(std::max(where.area.left(), frame.left() - kStep));
            if (edge == 3) next.setRight(std::min(where.area.right(), frame.right() + kStep));
            if (next == frame || next.width() > wanted.width() || next.height() > wanted.height()) continue;
            const Cover now = CoverOf(where, next);
            if (now.keys > cover.keys || now.depth > cover.depth) continue;
            frame = next;
            grew = true;
        }
    }
    return frame;
}

// Beside the panel, clear of it, on the first side with room for
// `least`: as large as `wanted` or as the side's room allows.
std::optional<QRect> Beside(const PanelOnScreen& where, QSize wanted, QSize least) {
    const QRect& area = where.area;
    const QRect& panel = where.panel;
    const int w = wanted.width();
    const int h = wanted.height();
    const int right = area.right() - panel.right();
    const int left = panel.left() - area.left();
    const int below = area.bottom() - panel.bottom();
    const int y = Clamp(panel.top(), h, area.top(), area.bottom());
    if (right >= least.width()) return QRect(panel.right() + 1, y, std::min(w, right), h);
    if (left >= least.width()) return QRect(panel.left() - std::min(w, left), y, std::min(w, left), h);
    if (below >= least.height())
        return QRect(Clamp(panel.left(), w, area.left(), area.right()), panel.bottom() + 1, w, std::min(h, below));
    return std::nullopt;
}

// Where a window of one of `sizes` covers the fewest of the keys and
// reaches the least far into the panel, then as large as it can grow
// towards `wanted` without covering more, then on the first side.
QRect Overlapping(const PanelOnScreen& where, const std::vector<QSize>& sizes, QSize wanted) {
    const QRect& area = where.area;
    const QRect& panel = where.panel;
    QRect best;
    std::tuple<int, int, long long, int> best_score{};
    for (const QSize& size : sizes) {
        const int w = size.width();
        const int h = size.height();
        std::vector<int> xs = {area.left(), area.right() - w + 1, panel.left() - w, panel.right() + 1};
        std::vector<int> ys = {area.top(), area.bottom() - h + 1, panel.top(), panel.top() - h, panel.bottom() + 1};
        for (const QRect& key : where.keys) {
            xs.push_back(key.left() - w);
            xs.push_back(key.right() + 1);
            ys.push_back(key.top() - h);
            ys.push_back(key.bottom() + 1);
        }
        for (int x : xs) {
            for (int y : ys) {
                const QRect start(QPoint(Clamp(x, w, area.left(), area.right()), Clamp(y, h, area.top(), area.bottom())),
                                  size);
                const Cover cover = CoverOf(where, start);
                const QRect grown = Grown(where, start, cover, wanted);
                const std::tuple<int, int, long long, int> score{cover.keys, cover.depth, -AreaOf(grown),
                                                                 SideRank(grown, panel)};
                if (best.isNull() || score < best_score) {
                    best = grown;
                    best_score = score;
                }
            }
        }
    }
    return best;
}

QSize Within(QSize size, const QRect& area) {
    return QSize(std::min(size.width(), area.width()), std::min(size.height(), area.height()));
}

}  // namespace

QRect PlaceBesidePanel(const PanelOnScreen& where, QSize wanted, QSize least, QSize smallest) {
    if (smallest.isEmpty()) smallest = least;
    least = Within(least.expandedTo(smallest), where.area);
    smallest = Within(smallest, where.area);
    wanted = Within(wanted.expandedTo(least), where.area);
    // Clear of the panel at the least size meant; else where it covers the
    // least, which may be clear of it at the smallest the window can be.
    if (const std::optional<QRect> beside = Beside(where, wanted, least)) return *beside;
    return Overlapping(where, {least, smallest}, wanted);
}

bool CoversAKey(const PanelOnScreen& where, const QRect& frame) { return CoverOf(where, frame).keys > 0; }

QPoint PanelStart(const QRect& area, QSize frame, int beside_width) {
    const int spare = area.width() - frame.width();
    const int x = spare / 2 >= beside_width ? area.left() + spare / 2 : area.left();
    // A panel taller than the screen keeps its title bar (and its upper
    // part, where the keys are) on it.
    const int y = area.top() + std::max(0, (area.height() - frame.height()) / 2);
    return QPoint(x, y);
}

bool StillOnScreen(const QRect& saved, const std::vector<QRect>& screens) {
    if (saved.isEmpty()) return false;
    // The strip along the top, where the title bar is grabbed.
    constexpr int kTitleHeight = 24;
    constexpr int kTitleWidth = 100;
    const QRect title(saved.left(), saved.top(), saved.width(), kTitleHeight);
    for (const QRect& screen : screens) {
        const QRect visible = saved & screen;
        if (2 * AreaOf(visible) >= AreaOf(saved) && (title & screen).width() >= std::min(kTitleWidth, saved.width()))
            return true;
    }
    return false;
}

bool SavedPlaceUsable(const QRect& saved, const std::vector<QRect>& screens, const PanelOnScreen* panel) {
    return StillOnScreen(saved, screens) && !(panel && CoversAKey(*panel, saved));
}

std::optional<QPoint> KeptOnScreen(const QRect& saved, const std::vector<QRect>& screens) {
    if (!StillOnScreen(saved, screens)) return std::nullopt;
    const QRect* most = nullptr;
    for (const QRect& screen : screens)
        if (!most || AreaOf(saved & screen) > AreaOf(saved & *most)) most = &screen;
    const int x = std::max(most->left(), std::min(saved.left(), most->right() - saved.width() + 1));
    const int y = std::max(most->top(), std::min(saved.top(), most->bottom() - saved.height() + 1));
    return QPoint(x, y);
}
