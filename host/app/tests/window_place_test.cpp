// The panel and the roast windows on a screen of the size the test runs
// on (CTest runs it on 1280x720, 1366x768 and 1920x1080), with window
// frames: from a fresh start and with the places a user left on a larger
// screen, no window covers a key a roast is run with, every title bar is
// on the screen, and the panel comes back where it was moved.
#include <QChartView>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "control_ids.h"
#include "live_roast_curve.h"
#include "roast_log_text.h"
#include "roast_session.h"
#include "window_settings.h"
#include "window_stand.h"

class WindowPlaceTest : public QObject {
    Q_OBJECT
private slots:
    void init() { WindowSettings().clear(); }
    void noWindowCoversAKeyFreshOrWithPlacesLeftOnALargerScreen();
    void thePanelAndTheCurveWindowComeBackWhereTheUserPutThem();
};

namespace {

QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// Two saved roasts of two minutes, to compare.
QStringList WriteRoasts(const QString& folder) {
    QStringList paths;
    for (int r = 0; r < 2; ++r) {
        const QString path = folder + QStringLiteral("/2026-12-0%1_100000 Kenya.csv").arg(r + 1);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(QByteArray("# start: 2026-12-0") + QByteArray::number(r + 1) + "T10:00:00+01:00\n" +
                   kRoastLogColumns + "\n");
        for (int i = 1; i <= 240; ++i)
            file.write(QByteArray::number(i * 0.5, 'f', 1) + "," + QByteArray::number(70 + i / 2 + r) +
                       ",,,run,heat,1,5,3,5.0\n");
        paths << path;
    }
    return paths;
}

// The panel's keys a roast is run with, on the screen.
std::vector<QRect> Keys(const CKavoloRoasterDlg& panel) {
    std::vector<QRect> keys;
    for (int id : {ctl::kPower, ctl::kUp, ctl::kDown, ctl::kRight, ctl::kMode}) {
        const QWidget* key = panel.Control(id);
        keys.emplace_back(key->mapToGlobal(QPoint(0, 0)), key->size());
    }
    return keys;
}

// `window` (shown) covers none of the panel's keys and its frame, title
// bar first, is on the screen.
void ExpectClear(const CKavoloRoasterDlg& panel, const QWidget* window, const char* what) {
    QVERIFY2(window && window->isVisible(), what);
    const QRect frame = window->frameGeometry();
    const QString where = QStringLiteral("%1 at %2,%3 %4x%5").arg(QLatin1String(what)).arg(frame.x()).arg(frame.y())
                              .arg(frame.width()).arg(frame.height());
    QVERIFY2(Area().contains(frame), qPrintable(where + " is not wholly on the screen"));
    for (const QRect& key : Keys(panel)) QVERIFY2(!frame.intersects(key), qPrintable(where + " covers a key"));
}

}  // namespace

void WindowPlaceTest::noWindowCoversAKeyFreshOrWithPlacesLeftOnALargerScreen() {
    for (const bool saved_on_larger : {false, true}) {
        WindowSettings().clear();
        if (saved_on_larger) {
            // What a user left on 1920x1080: the panel in the middle, the
            // curve and the history to its right, a comparison over it.
            WindowSettings().setValue(QStringLiteral("panel/position"), QPoint(501, 168));
            WindowSettings().setValue(QStringLiteral("curve/geometry"), QRect(1421, 188, 497, 700));
            WindowSettings().setValue(QStringLiteral("history/geometry"), QRect(1421, 188, 497, 400));
            WindowSettings().setValue(QStringLiteral("compare/geometry"), QRect(200, 100, 1000, 700));
        }
        QTemporaryDir roasts;
        const QStringList paths = WriteRoasts(roasts.path());
        Stand t(roasts.path());
        const QRect panel = t.window->frameGeometry();
        QVERIFY2(panel.top() >= Area().top() && panel.left() >= Area().left() && panel.right() <= Area().right(),
                 "the panel's title bar and width are on the screen");
        LiveRoastCurve& curve = t.window->roast_session().curve();
        // The curve window opens by itself as a roast starts.
        curve.ShowPassively();
        QVERIFY(QTest::qWaitForWindowExposed(curve.window()));
        ExpectClear(*t.window, curve.window(), "the curve window");
        curve.ShowHistory();
        ExpectClear(*t.window, curve.history(), "the history");
        if (QTest::currentTestFailed()) return;
        RoastCompareWindow* compared = nullptr;
        curve.on_compare_made = [&](RoastCompareWindow& window) { compared = &window; };
        curve.Compare(paths);
        QTRY_VERIFY(compared);
        ExpectClear(*t.window, compared, "the comparison");
        if (QTest::currentTestFailed()) return;
        // A comparison has room for a readable chart.
        QVERIFY(compared->plot().view()->height() >= 200);
    }
}

void WindowPlaceTest::thePanelAndTheCurveWindowComeBackWhereTheUserPutThem() {
    const QRect area = Area();
    const QPoint panel_put = area.topLeft() + QPoint(10, 0);
    QRect put;
    {
        QTemporaryDir roasts;
        Stand t(roasts.path());
        t.window->move(panel_put);  // the user moves the panel
        t.window->roast_session().ShowCurve();
        RoastCurveWindow* curve = t.window->roast_session().curve().window();
        // And the curve window, at the screen's right edge, on 1280x720
        // over the panel's edge right of its keys.
        put = QRect(area.right() - 379, area.top() + 40, 376, 420);
        curve->setGeometry(put);
        curve->close();
        t.window->hide();
    }
    {
        QTemporaryDir roasts;
        Stand t(roasts.path());
        QCOMPARE(t.window->pos(), panel_put);
        t.window->roast_session().ShowCurve();
        QCOMPARE(t.window->roast_session().curve().window()->geometry().topLeft(), put.topLeft());
    }
    // A place no screen shows any more is not used, nor one over a key.
    for (const QRect& gone : {put.translated(area.width() * 3, 0), put.translated(area.width() / 2, 200)}) {
        WindowSettings().setValue(QStringLiteral("curve/geometry"), gone);
        QTemporaryDir roasts;
        Stand t(roasts.path());
        t.window->roast_session().ShowCurve();
        ExpectClear(*t.window, t.window->roast_session().curve().window(), "the curve window");
    }
}

QTEST_MAIN(WindowPlaceTest)
#include "window_place_test.moc"
