// Where the panel starts and where a window opening beside it goes, on
// screens from 1280x720 to 3840x2160, with the panel where it starts by
// itself and where a user may have left it: beside it when a side has
// room, else clear of its keys whenever any place of the window's least
// size is, and on the screen always.
#include <gtest/gtest.h>

#include "window_placement.h"

namespace {

// The panel's frame (its skin and a window manager's decorations: a
// 20-pixel title bar and 1-pixel borders) and the keys a roast is run
// with, as the panel lays them out.
constexpr QSize kPanel(916 + 2, 722 + 21);
const QRect kKeys[] = {{758, 222, 102, 102}, {310, 453, 102, 103}, {513, 450, 102, 102},
                       {158, 376, 102, 102}, {665, 369, 103, 102}};
constexpr QSize kWanted(1042, 661);
constexpr QSize kLeast = kLeastBesidePanel + QSize(2, 21);
// The least the roast windows can be, with their frames: their buttons
// wrap, so they are taller. On 1280x720 the strip right of the panel's
// keys is 418 pixels wide.
constexpr QSize kSmallest(412, 500);

PanelOnScreen PanelAt(const QRect& area, QPoint at) {
    PanelOnScreen where{area, QRect(at, kPanel), {}};
    for (const QRect& key : kKeys) where.keys.push_back(key.translated(at + QPoint(1, 20)));
    return where;
}

// Whether some place of the smallest size, anywhere on the screen, leaves
// every key in sight (a search of its own, in steps of a few pixels).
bool KeyFreePlaceExists(const PanelOnScreen& where) {
    const QRect& a = where.area;
    for (int x = a.left(); x + kSmallest.width() - 1 <= a.right(); x += 4)
        for (int y = a.top(); y + kSmallest.height() - 1 <= a.bottom(); y += 4)
            if (!CoversAKey(where, QRect(QPoint(x, y), kSmallest))) return true;
    return false;
}

std::string Name(const QSize& screen, QPoint at) {
    return std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + " panel at " +
           std::to_string(at.x()) + "," + std::to_string(at.y());
}

const QSize kScreens[] = {{1280, 720}, {1366, 768}, {1600, 900}, {1920, 1080}, {2560, 1440}, {3840, 2160}};

// With no taskbar (as under a bare window manager) and with one along the top.
std::vector<QRect> AreasOf(const QSize& screen) {
    return {QRect(QPoint(0, 0), screen), QRect(0, 28, screen.width(), screen.height() - 28)};
}

TEST(WindowPlacement, ThePanelStartsWhereAWindowHasRoomBesideIt) {
    for (const QSize& screen : kScreens) {
        for (const QRect& area : AreasOf(screen)) {
            const QPoint at = PanelStart(area, kPanel, kLeastBesidePanel.width());
            const std::string name = Name(screen, at);
            // Its title bar on the screen; as much of it as the screen shows.
            EXPECT_GE(at.y(), area.top()) << name;
            EXPECT_GE(at.x(), area.left()) << name;
            EXPECT_TRUE(area.contains(QRect(at, QSize(kPanel.width(), std::min(kPanel.height(), area.height())))))
                << name;
            const int right = area.right() - (at.x() + kPanel.width() - 1);
            const int left = at.x() - area.left();
            if (area.width() - kPanel.width() >= 2 * kLeastBesidePanel.width())
                EXPECT_LE(std::abs(left - right), 1) << name << ": centred";
            else
                EXPECT_EQ(left, 0) << name << ": at the left edge";
        }
    }
}

TEST(WindowPlacement, BesideThePanelOrClearOfItsKeysOnEveryScreen) {
    for (const QSize& screen : kScreens) {
        for (const QRect& area : AreasOf(screen)) {
            const QPoint centred(area.left() + (screen.width() - kPanel.width()) / 2,
                                 area.top() + std::max(0, (area.height() - kPanel.height()) / 2));
            // Where it starts by itself, and where a user may have put it.
            for (const QPoint& at : {PanelStart(area, kPanel, kLeastBesidePanel.width()), area.topLeft(), centred,
                                     QPoint(screen.width() - kPanel.width(), area.top()),
                                     QPoint(screen.width() / 3, area.top() + 32),
                                     QPoint(screen.width() - kPanel.width() - 480, area.top())}) {
                const PanelOnScreen where = PanelAt(area, at);
                const QRect frame = PlaceBesidePanel(where, kWanted, kLeast, kSmallest);
                const std::string name = Name(screen, at);
                EXPECT_TRUE(area.contains(frame)) << name;
                EXPECT_GE(frame.width(), kSmallest.width()) << name;
                EXPECT_GE(frame.height(), kSmallest.height()) << name;
                const bool room_right = area.right() - where.panel.right() >= kLeast.width();
                const bool room_left = where.panel.left() - area.left() >= kLeast.width();
                const bool room_below = area.bottom() - where.panel.bottom() >= kLeast.height();
                const bool room_when_small = area.right() - where.panel.right() >= kSmallest.width() ||
                                             where.panel.left() - area.left() >= kSmallest.width();
                if (room_right || room_left || room_below) {
                    EXPECT_GE(frame.width(), kLeast.width()) << name;
                    EXPECT_FALSE(frame.intersects(where.panel)) << name;
                    // The first side with room, right before left before below.
                    if (room_right)
                        EXPECT_EQ(frame.left(), where.panel.right() + 1) << name;
                    else if (room_left)
                        EXPECT_EQ(frame.right(), where.panel.left() - 1) << name;
                    else
                        EXPECT_EQ(frame.top(), where.panel.bottom() + 1) << name;
                } else if (room_when_small) {
                    EXPECT_FALSE(frame.intersects(where.panel)) << name << " covers the panel";
                } else if (KeyFreePlaceExists(where)) {
                    EXPECT_FALSE(CoversAKey(where, frame)) << name << " covers a key";
                }
                // Where the panel starts by itself, there is always such a place.
                if (at == PanelStart(area, kPanel, kLeastBesidePanel.width())) {
                    EXPECT_FALSE(CoversAKey(where, frame)) << name << " covers a key where the panel starts";
                }
            }
        }
    }
}

TEST(WindowPlacement, SizedToTheFreePartOfTheScreen) {
    // 1920 wide with the panel at the left: 1002 pixels free to its right.
    const PanelOnScreen where = PanelAt(QRect(0, 0, 1920, 1080), QPoint(0, 100));
    EXPECT_EQ(PlaceBesidePanel(where, kWanted, kLeast), QRect(918, 100, 1002, 661));
    EXPECT_EQ(PlaceBesidePanel(where, QSize(800, 2000), kLeast), QRect(918, 0, 800, 1080));
}

TEST(WindowPlacement, ASavedPlaceIsUsedOnlyOnAScreenAndClearOfThePanelsKeys) {
    const std::vector<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const PanelOnScreen panel = PanelAt(screens[0], QPoint(0, 0));
    const struct {
        QRect saved;
        bool usable;
        const char* what;
    } cases[] = {
        {QRect(1000, 100, 800, 600), true, "beside the panel"},
        {QRect(2000, 300, 800, 600), true, "on the second screen"},
        {QRect(3500, 100, 800, 600), false, "the second screen was wider"},
        {QRect(1000, 900, 800, 600), false, "mostly below the first"},
        {QRect(1000, -40, 800, 600), false, "its title bar above the top"},
        {QRect(), false, "nothing saved"},
        {QRect(20, 600, 600, 420), true, "over the panel, below its keys"},
        // Saved at 1920x1080 beside a panel in the middle; the panel now
        // at the left, under it.
        {QRect(700, 100, 600, 500), false, "over POWER"},
        {QRect(0, 380, 300, 300), false, "over RIGHT"},
    };
    for (const auto& c : cases) EXPECT_EQ(SavedPlaceUsable(c.saved, screens, &panel), c.usable) << c.what;
    // Where the panel is not known, only the screens count.
    EXPECT_TRUE(SavedPlaceUsable(QRect(700, 100, 600, 500), screens, nullptr));
}

TEST(WindowPlacement, ThePanelComesBackWhereItWasMovedAsFarAsTheScreenShowsIt) {
    const std::vector<QRect> laptop = {QRect(0, 0, 1366, 768)};
    const struct {
        QPoint saved;
        std::optional<QPoint> now;
        const char* what;
    } cases[] = {
        {{0, 0}, QPoint(0, 0), "at the left edge"},
        {{300, 10}, QPoint(300, 10), "on the screen"},
        // Saved at 1920x1080, in the middle and low: moved in as little as
        // it takes.
        {{501, 168}, QPoint(1366 - kPanel.width(), 768 - kPanel.height()), "in the middle of a larger screen"},
        {{1200, 100}, std::nullopt, "mostly off the screen"},
        {{100, -30}, std::nullopt, "its title bar above the top"},
    };
    for (const auto& c : cases) EXPECT_EQ(KeptOnScreen(QRect(c.saved, kPanel), laptop), c.now) << c.what;
    // Taller than the screen: its title bar stays on it.
    EXPECT_EQ(KeptOnScreen(QRect(QPoint(200, 10), kPanel), {QRect(0, 0, 1280, 720)}), QPoint(200, 0));
}

}  // namespace
