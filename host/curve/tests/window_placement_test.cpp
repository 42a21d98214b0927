// Where a window opening beside the panel goes, on screens from 1280x720 to
// 3840x2160 with the panel in several places: beside it when a side has
// room, else clear of its keys whenever any place of the window's least
// size is, and on the screen always.
#include <gtest/gtest.h>

#include "window_placement.h"

namespace {

// The panel's frame (its skin and the decorations) and the keys a roast is
// run with, as the panel lays them out.
constexpr QSize kPanel(916 + 2, 722 + 26);
const QRect kKeys[] = {{758, 222, 102, 102}, {310, 453, 102, 103}, {513, 450, 102, 102},
                       {158, 376, 102, 102}, {665, 369, 103, 102}};
constexpr QSize kWanted(1040, 640);
constexpr QSize kLeast(560, 380);
// The least the window can be: its buttons wrap, so it is taller.
constexpr QSize kSmallest(470, 420);

PanelOnScreen PanelAt(const QRect& area, QPoint at) {
    PanelOnScreen where{area, QRect(at, kPanel), {}};
    for (const QRect& key : kKeys) where.keys.push_back(key.translated(at + QPoint(1, 25)));
    return where;
}

bool CoversAKey(const PanelOnScreen& where, const QRect& frame) {
    for (const QRect& key : where.keys)
        if (frame.intersects(key)) return true;
    return false;
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

TEST(WindowPlacement, BesideThePanelOrClearOfItsKeysOnEveryScreen) {
    const QSize screens[] = {{1280, 720}, {1366, 768}, {1600, 900}, {1920, 1080}, {2560, 1440}, {3840, 2160}};
    for (const QSize& screen : screens) {
        // A taskbar along the top, as the available area leaves out.
        const QRect area(0, 28, screen.width(), screen.height() - 28);
        const QPoint centred((screen.width() - kPanel.width()) / 2, (screen.height() - kPanel.height()) / 2);
        for (const QPoint& at : {QPoint(0, 28), centred, QPoint(screen.width() - kPanel.width(), 28),
                                 QPoint(screen.width() / 3, 60), QPoint(screen.width() - kPanel.width() - 480, 28)}) {
            const PanelOnScreen where = PanelAt(area, at);
            const QRect frame = PlaceBesidePanel(where, kWanted, kLeast, kSmallest);
            const std::string name = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) +
                                     " panel at " + std::to_string(at.x()) + "," + std::to_string(at.y());
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
        }
    }
}

TEST(WindowPlacement, SizedToTheFreePartOfTheScreen) {
    // 1920 wide with the panel at the left: 1000 pixels free to its right.
    const PanelOnScreen where = PanelAt(QRect(0, 0, 1920, 1080), QPoint(0, 100));
    EXPECT_EQ(PlaceBesidePanel(where, kWanted, kLeast), QRect(918, 100, 1002, 640));
    EXPECT_EQ(PlaceBesidePanel(where, QSize(800, 2000), kLeast), QRect(918, 0, 800, 1080));
}

TEST(WindowPlacement, ASavedPlaceIsUsedOnlyWhileItIsOnAScreen) {
    const std::vector<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_TRUE(StillOnScreen(QRect(1000, 100, 800, 600), screens));
    EXPECT_TRUE(StillOnScreen(QRect(2000, 300, 800, 600), screens));   // on the second screen
    EXPECT_FALSE(StillOnScreen(QRect(3500, 100, 800, 600), screens));  // the second screen was wider
    EXPECT_FALSE(StillOnScreen(QRect(100, 900, 800, 600), screens));   // mostly below the first
    EXPECT_FALSE(StillOnScreen(QRect(100, -40, 800, 600), screens));   // its title bar above the top
    EXPECT_FALSE(StillOnScreen(QRect(), screens));
}

}  // namespace
