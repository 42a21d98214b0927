// The roaster's model in the program: with too few roasts its features stay
// off and the curve window says why; with enough, the current profile's
// curve is foreseen and follows every change of the profile, and "Plan a
// program" makes an unsaved profile of a saved roast's curve.
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "control_ids.h"
#include "live_roast_curve.h"
#include "roast_history_window.h"
#include "roast_log_files.h"
#include "roast_session.h"
#include "simulated_roasts.h"
#include "window_settings.h"
#include "window_stand.h"

class WindowModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() { WindowSettings().clear(); }
    void tooFewRoastsTurnTheModelsFeaturesOffAndSaySo();
    void theForecastFollowsEveryChangeOfTheProfile();
    void planAProgramMakesAnUnsavedProfileOfTheRoastsCurve();
};

namespace {

const SimulatedSteps kProfiles[] = {
    {{7, 30, 2}, {5, 30, 2}, {4, 30, 2}},
    {{9, 20, 3}, {6, 40, 2}, {4, 40, 2}},
    {{3, 30, 1}, {5, 40, 2}, {3, 35, 3}},
};
const std::string kRoaster = "Simulated (hot air)";

// Saves `count` roasts of the hot-air roaster in `folder`, one a day.
void SaveRoasts(const QString& folder, int count, int first_day = 1) {
    BeanResponse beans;
    beans.airflow = Airflow::HotAir;
    ThermalModel model(beans);
    for (int i = 0; i < count; ++i) {
        const std::string day = std::to_string(10 + first_day + i);
        const RoastLog log =
            SimulatedRoastLog(model, kProfiles[i % 3], "2026-11-" + day + "T09:00:00+01:00", kRoaster);
        QVERIFY(SaveRoastLog(log, folder.toStdString() + "/2026-11-" + day + "_090000 Roast.csv").ok);
    }
}

// The roaster's model learnt for `t`'s roasts folder.
void Learn(Stand& t) {
    RoastSession& session = t.window->roast_session();
    session.SetRoaster(kRoaster);
    QTRY_VERIFY_WITH_TIMEOUT(!session.roaster_model().learning(), 20000);
}

}  // namespace

void WindowModelTest::tooFewRoastsTurnTheModelsFeaturesOffAndSaySo() {
    QTemporaryDir roasts;
    SaveRoasts(roasts.path(), 2);
    Stand t(roasts.path());
    Learn(t);
    RoastSession& session = t.window->roast_session();
    session.ShowCurve();
    RoastCurveWindow* curve = session.curve().window();
    QVERIFY(curve);
    QCOMPARE(curve->model_text(),
             QStringLiteral("Roaster model: 2 roasts of at least 5 minutes on this roaster; it needs 3"));
    QVERIFY(!curve->forecast());
    curve->ShowBackgroundFile(roasts.filePath("2026-11-11_090000 Roast.csv"));
    QPushButton* plan = curve->button(QStringLiteral("Plan a program"));
    QVERIFY(!plan->isEnabled());
    QVERIFY(plan->toolTip().contains(QStringLiteral("3 roasts of at least 5 minutes")));

    // A third roast: once a run ends (its own log is too short to learn
    // from), the model learns again, and the features come on.
    SaveRoasts(roasts.path(), 1, 3);
    t.s().machine_state = kRun;
    t.s().run_phase = kHeat;
    t.window->controller().OnButtonReleased();
    t.s().machine_state = kFinished;
    t.window->controller().OnButtonReleased();
    QTRY_VERIFY_WITH_TIMEOUT(!session.roaster_model().learning(), 20000);
    QVERIFY2(curve->model_text().startsWith(QStringLiteral("Roaster model: 3 roasts, predicts them within ")),
             qPrintable(curve->model_text()));
    QVERIFY(curve->forecast());
    QVERIFY(plan->isEnabled());
    // The model's file beside the roasts folder; deleted, it is learnt again.
    QVERIFY(QFile::remove(session.roaster_model().file_path()));
    Stand again(roasts.path());
    Learn(again);
    QVERIFY(again.window->roast_session().roaster_model().learnt()->Predicts());
    QVERIFY(QFile::exists(session.roaster_model().file_path()));
}

void WindowModelTest::theForecastFollowsEveryChangeOfTheProfile() {
    QTemporaryDir roasts;
    SaveRoasts(roasts.path(), 3);
    Stand t(roasts.path());
    Learn(t);
    RoastSession& session = t.window->roast_session();
    session.ShowCurve();
    RoastCurveWindow* curve = session.curve().window();
    auto drop_f = [&] { return curve->forecast() ? curve->forecast()->drop_f() : 0.0; };
    auto drop_s = [&] { return curve->forecast() ? curve->forecast()->drop_seconds() : 0.0; };

    // A profile made from a roast, as "Roast again" makes one.
    const std::vector<StepNode> steps{{0, 6, 40, 3, StepWaiting, nullptr}, {0, 9, 40, 0, CoolWaiting, nullptr}};
    QCOMPARE(t.window->controller().UseProfileSteps("Test", steps), std::string());
    QCOMPARE(drop_s(), 240.0);
    const double at_heat_3 = drop_f();
    QVERIFY(curve->model_text().contains(QStringLiteral("This profile: ")));
    // The panel's edit: RIGHT to the heat, DOWN to heat 2.
    for (int i = 0; i < 3; ++i) t.window->controller().OnButtonClicked(ctl::kRight);
    t.window->controller().OnButtonClicked(ctl::kDown);
    QCOMPARE(t.window->controller().console.working.head->heat, 2);
    QVERIFY2(drop_f() < at_heat_3 - 10, qPrintable(QString::number(drop_f())));
    // And the time: UP lengthens the step, the forecast with it.
    t.window->controller().OnButtonClicked(ctl::kRight);
    t.window->controller().OnButtonClicked(ctl::kRight);
    t.window->controller().OnButtonClicked(ctl::kUp);
    QCOMPARE(drop_s(), 246.0);
}

void WindowModelTest::planAProgramMakesAnUnsavedProfileOfTheRoastsCurve() {
    QTemporaryDir roasts;
    SaveRoasts(roasts.path(), 3);
    // A roast from another roaster: a smaller batch.
    BeanResponse smaller;
    smaller.airflow = Airflow::HotAir;
    smaller.batch_scale = 0.8;
    ThermalModel other(smaller);
    const QString wanted = roasts.filePath("2026-12-01_090000 Other.csv");
    QVERIFY(SaveRoastLog(SimulatedRoastLog(other, kProfiles[0], "2026-12-01T09:00:00+01:00", "Another roaster"),
                         wanted.toStdString())
                .ok);
    Stand t(roasts.path());
    Learn(t);
    RoastSession& session = t.window->roast_session();
    QStringList warnings;
    session.planning().warn = [&](const QString& text) { warnings << text; };
    session.ShowHistory();
    RoastHistoryWindow* history = session.curve().history();
    QTRY_VERIFY(history->table()->model()->rowCount() == 4 && !history->loading());
    history->Choose(0);  // the newest: the other roaster's
    // The last batch still cooling in the roaster: the next starts green.
    t.s().link_ok = true;
    t.s().temperature = 200;
    history->button(QStringLiteral("Plan a program"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!session.planning().planning(), 30000);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));

    const std::vector<StepNode> made = Snapshot(t.window->controller().console.working.head);
    QVERIFY(made.size() >= 2 && made.size() <= 21);
    int tenths = 0;
    for (std::size_t i = 0; i + 1 < made.size(); ++i) {
        QVERIFY(made[i].fan >= 1 && made[i].fan <= 9 && made[i].heat >= 1 && made[i].heat <= 3);
        QCOMPARE(made[i].status, StepWaiting);
        tenths += made[i].time;
    }
    QCOMPARE(tenths, 90);
    QCOMPARE(made.back().status, CoolWaiting);
    QCOMPARE(t.s().profile_path, kNoPath);
    QVERIFY(t.s().profile_name.rfind("Plan ", 0) == 0);
    // Named so the panel's name box shows it whole.
    const QString name = QString::fromStdString(t.s().profile_name);
    QVERIFY2(t.window->NameBox()->fontMetrics().horizontalAdvance(name) <= t.window->NameBox()->contentsRect().width(),
             qPrintable(name));
    RoastCurveWindow* curve = session.curve().window();
    QCOMPARE(curve->background_path(), wanted);
    QVERIFY(curve->forecast());
    QVERIFY2(curve->forecast()->beans_f.front() < 100, qPrintable(QString::number(curve->forecast()->beans_f.front())));
    QVERIFY2(curve->model_text().contains(QStringLiteral("Planned program: %1 steps").arg(made.size() - 1)),
             qPrintable(curve->model_text()));
    QVERIFY2(!curve->model_text().contains(QRegularExpression(QStringLiteral("within [1-9][0-9]"))),
             qPrintable(curve->model_text()));
    // Nothing went to the roaster: no download began.
    QCOMPARE(t.s().download_active, 0);
}

QTEST_MAIN(WindowModelTest)
#include "window_model_test.moc"
