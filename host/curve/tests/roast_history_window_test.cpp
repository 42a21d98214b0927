// The roast history beside the curve window: its list of the roasts
// folder, sorted, searched and narrowed by dates, the roasts chosen in it
// opened, deleted and compared.
#include <QCheckBox>
#include <QFile>
#include <QDateEdit>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>

#include "curve_stand.h"
#include "roast_compare_window.h"
#include "roast_history_model.h"
#include "roast_history_window.h"
#include "window_settings.h"

class RoastHistoryTest : public QObject {
    Q_OBJECT
private slots:
    // Window places and columns start afresh.
    void init() { WindowSettings().clear(); }
    void historyListsSortsAndAsksBeforeDeleting();
    void historyFiltersByWordsAndDates();
    void historyComparesTheChosenRoasts();
    void onlyTheRoastsShownAreChosen();
    void aSavedTableStartsOutsideTheRoastsAndIsNeverListedAsOne();
    void columnsFitTheirRoastsUntilTheUserSizesThem();
};

void RoastHistoryTest::historyListsSortsAndAsksBeforeDeleting() {
    Stand t;
    const QString folder = t.folder.path() + QStringLiteral("/");
    WriteFile(folder + QStringLiteral("a.csv"), SavedRoast(65, 300, "# start: 2026-12-01T10:00:00+00:00\n"));
    WriteFile(folder + QStringLiteral("b.csv"), SavedRoast(600, 100, "# start: 2026-12-02T10:00:00+00:00\n"));
    WriteFile(folder + QStringLiteral("c.csv"), SavedRoast(90, 5, "# start: 2026-12-03T10:00:00+00:00\n"));
    WriteFile(folder + QStringLiteral("d.csv"), "# green_g: lots\n" + SavedRoast(5, 5));
    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QVERIFY(h && h->isVisible());
    QCOMPARE(h->windowTitle(), QStringLiteral("Roast history"));
    // The folder is read off the window's thread.
    QTRY_COMPARE(h->table()->model()->rowCount(), 4);
    QTRY_VERIFY(!h->loading());
    auto column = [h](int c) {
        QStringList cells;
        for (int r = 0; r < h->table()->model()->rowCount(); ++r) cells << h->cell(r, c);
        return cells;
    };
    // Newest first, as it opens (the unreadable file by its name).
    QCOMPARE(column(0), (QStringList{QStringLiteral("d.csv"), QStringLiteral("2026-12-03 10:00:00"),
                                     QStringLiteral("2026-12-02 10:00:00"), QStringLiteral("2026-12-01 10:00:00")}));

    // The recording's length, the cooling in it, is named apart from the
    // comparison's "Roast time" to the drop.
    QCOMPARE(h->table()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Recorded"));
    // Numbers sort as numbers; the unreadable file has none and is greyed.
    h->table()->sortByColumn(3, Qt::AscendingOrder);
    QCOMPARE(column(3), (QStringList{QString(), QStringLiteral("1:05"), QStringLiteral("1:30"), QStringLiteral("10:00")}));
    h->table()->sortByColumn(4, Qt::DescendingOrder);
    QCOMPARE(column(4), (QStringList{QStringLiteral("700 \u00b0F"), QStringLiteral("365 \u00b0F"),
                                     QStringLiteral("95 \u00b0F"), QString()}));
    const QModelIndex unreadable = h->table()->model()->index(3, 0);
    QCOMPARE(unreadable.data().toString(), QStringLiteral("d.csv"));
    QVERIFY(unreadable.data(Qt::ToolTipRole).toString().contains(QStringLiteral("line 1: bad weight")));

    // "Open" shows the roast in the curve window.
    h->Choose(0);
    ClickAsUser(h->button(QStringLiteral("Open")));
    QVERIFY(t.window() && !t.window()->live());
    QVERIFY(t.window()->reading_text().startsWith(QStringLiteral("10:00   Bean 700")));

    // Delete asks first; "No" keeps the file.
    QStringList asked;
    bool answer = false;
    h->ask_yes_no = [&](const QString& question) {
        asked << question;
        return answer;
    };
    h->Choose(0);
    h->DeleteChosen();
    QCOMPARE(asked, QStringList{QStringLiteral("Delete the roast log b.csv?")});
    QVERIFY(QFile::exists(folder + QStringLiteral("b.csv")));
    answer = true;
    h->DeleteChosen();
    QVERIFY(!QFile::exists(folder + QStringLiteral("b.csv")));
    QCOMPARE(h->table()->model()->rowCount(), 3);

    // Read again: a log changed since shows its change where it is listed,
    // and one removed by other means goes.
    WriteFile(folder + QStringLiteral("c.csv"), SavedRoast(120, 5, "# start: 2026-12-03T10:00:00+00:00\n"));
    QVERIFY(QFile::remove(folder + QStringLiteral("a.csv")));
    h->Refresh();
    QTRY_VERIFY(!h->loading());
    QCOMPARE(column(0), (QStringList{QStringLiteral("2026-12-03 10:00:00"), QStringLiteral("d.csv")}));
    QCOMPARE(h->cell(0, 3), QStringLiteral("2:00"));
}

void RoastHistoryTest::historyFiltersByWordsAndDates() {
    Stand t;
    const QString folder = t.folder.path() + QStringLiteral("/");
    WriteFile(folder + QStringLiteral("a.csv"),
              SavedRoast(60, 300, "# start: 2026-12-01T10:00:00+00:00\n# profile: Light\n# bean: Kenya AA\n"));
    WriteFile(folder + QStringLiteral("b.csv"),
              SavedRoast(60, 300, "# start: 2026-12-02T10:00:00+00:00\n# profile: Dark\n# notes: Smoky.\\nKenya next\n"));
    WriteFile(folder + QStringLiteral("c.csv"),
              SavedRoast(60, 300, "# start: 2026-12-03T10:00:00+00:00\n# profile: Light\n# bean: Sumatra\n"));
    WriteFile(folder + QStringLiteral("d.csv"), "# green_g: lots\n");  // no date, no words
    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QTRY_VERIFY(!h->loading());
    auto shown = [h] {
        QStringList starts;
        for (int r = 0; r < h->table()->model()->rowCount(); ++r) starts << h->cell(r, 0).left(10);
        return starts;
    };
    QCOMPARE(shown().size(), 4);

    // Every word, in any case, in the profile, the bean or the notes.
    QTest::keyClicks(h->search_box(), QStringLiteral("kenya"));
    QCOMPARE(shown(), (QStringList{QStringLiteral("2026-12-02"), QStringLiteral("2026-12-01")}));
    QTest::keyClicks(h->search_box(), QStringLiteral(" LIGHT"));
    QCOMPARE(shown(), QStringList{QStringLiteral("2026-12-01")});
    h->search_box()->clear();
    QCOMPARE(shown().size(), 4);

    // The dates, each end included; with the words.
    h->from_date()->setDate(QDate(2026, 12, 2));
    h->from_bound()->setChecked(true);
    QCOMPARE(shown(), (QStringList{QStringLiteral("2026-12-03"), QStringLiteral("2026-12-02")}));
    h->to_date()->setDate(QDate(2026, 12, 2));
    h->to_bound()->setChecked(true);
    QCOMPARE(shown(), QStringList{QStringLiteral("2026-12-02")});
    h->from_bound()->setChecked(false);
    QCOMPARE(shown(), (QStringList{QStringLiteral("2026-12-02"), QStringLiteral("2026-12-01")}));
    QTest::keyClicks(h->search_box(), QStringLiteral("light"));
    QCOMPARE(shown(), QStringList{QStringLiteral("2026-12-01")});
}

void RoastHistoryTest::historyComparesTheChosenRoasts() {
    Stand t;
    const QString folder = t.folder.path() + QStringLiteral("/");
    // Four roasts rising a degree a second, their first crack at 300, 360,
    // 420 and 480 s; the three newest are chosen.
    for (int i = 0; i < 4; ++i) {
        const int crack = 300 + 60 * i;
        WriteFile(folder + QStringLiteral("%1.csv").arg(i),
                  SavedRoast(600, 100 + 10 * i,
                             QStringLiteral("# start: 2026-12-0%1T10:00:00+00:00\n# event: first_crack %2.0 %3\n")
                                 .arg(i + 1)
                                 .arg(crack)
                                 .arg(100 + 10 * i + crack)
                                 .toStdString()));
    }
    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QTRY_COMPARE(h->table()->model()->rowCount(), 4);
    QTRY_VERIFY(!h->loading());
    QVERIFY(!h->button(QStringLiteral("Compare"))->isEnabled());
    RoastCompareWindow* compared = nullptr;
    t.live.on_compare_made = [&](RoastCompareWindow& window) { compared = &window; };
    QItemSelectionModel* selection = h->table()->selectionModel();
    for (int row = 0; row < 3; ++row)
        selection->select(h->table()->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QVERIFY(h->button(QStringLiteral("Compare"))->isEnabled());
    ClickAsUser(h->button(QStringLiteral("Compare")));
    QTRY_VERIFY(compared);

    // Three roasts, each with its name in the legend; a row each, then the
    // mean and the spread.
    QCOMPARE(compared->plot().legend_entries().size(), std::size_t{3});
    QCOMPARE(compared->plot().legend_entries()[0]->label(), QStringLiteral("2026-12-04 10:00"));
    QCOMPARE(compared->table()->rowCount(), 5);
    QCOMPARE(compared->table()->horizontalHeaderItem(3)->text(), QStringLiteral("Roast time"));
    const int crack_time = 6;  // the first crack's time column
    QCOMPARE(compared->table()->horizontalHeaderItem(crack_time)->text(), QStringLiteral("First crack"));
    QCOMPARE(compared->table()->item(3, crack_time)->text(), QStringLiteral("7:00"));  // the mean of 8:00, 7:00, 6:00
    QCOMPARE(compared->table()->item(4, crack_time)->text(), QStringLiteral("1:00"));

    // Aligned at the first crack, every roast's crack lies at 0 and the
    // time axis reaches back before it.
    // Texts to the left, numbers to the right.
    QVERIFY(compared->table()->item(0, 1)->textAlignment() & Qt::AlignLeft);
    QVERIFY(compared->table()->item(0, crack_time)->textAlignment() & Qt::AlignRight);
    compared->AlignAt(AlignPoint::FirstCrack);
    // The picture says what the roasts are aligned at.
    QCOMPARE(compared->aligned_text(), QStringLiteral("Aligned at: first crack"));
    for (std::size_t i = 0; i < 3; ++i) {
        // The line's height at 0, between the points drawn around it: the
        // roast's temperature at its first crack.
        const QList<QPointF> points = compared->plot().bean_lines(i).front()->points();
        const auto after = std::find_if(points.begin(), points.end(), [](const QPointF& p) { return p.x() >= 0; });
        QVERIFY(after != points.begin() && after != points.end());
        const QPointF a = *(after - 1), b = *after;
        const int roast = 3 - static_cast<int>(i);
        QCOMPARE(std::lround(a.y() + (b.y() - a.y()) * (0 - a.x()) / (b.x() - a.x())),
                 100L + 10 * roast + 300 + 60 * roast);
    }
    QVERIFY(compared->plot().chart().time_scale().min_seconds <= -480);
    // A click on a legend entry hides that roast; another shows it again.
    compared->plot().SetShown(1, false);
    QVERIFY(!compared->plot().bean_lines(1).front()->isVisible());
    QVERIFY(compared->plot().bean_lines(0).front()->isVisible());
    compared->plot().legend_entries()[1]->clicked();
    QVERIFY(compared->plot().bean_lines(1).front()->isVisible());

    // Minimised, the comparison comes back when the same roasts are
    // compared again; no second window is made.
    RoastCompareWindow* first = compared;
    compared->showMinimized();
    compared = nullptr;
    ClickAsUser(h->button(QStringLiteral("Compare")));
    QVERIFY(!first->isMinimized() && first->isVisible());
    QTest::qWait(50);
    QVERIFY(!compared);
}

// A search that hides chosen roasts leaves only the shown ones chosen: the
// buttons and "Compare" act on what the user sees.
void RoastHistoryTest::onlyTheRoastsShownAreChosen() {
    Stand t;
    const QString folder = t.folder.path() + QStringLiteral("/");
    for (const char* bean : {"Kenya AA", "Kenya AB", "Sumatra", "Brazil"})
        WriteFile(folder + QString::fromLatin1(bean) + QStringLiteral(".csv"),
                  SavedRoast(60, 300, std::string("# bean: ") + bean + "\n"));
    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QTRY_VERIFY(h->table()->model()->rowCount() == 4 && !h->loading());
    h->table()->selectAll();
    QVERIFY(h->button(QStringLiteral("Compare"))->isEnabled());
    QVERIFY(!h->button(QStringLiteral("Open"))->isEnabled());

    QStringList compared;
    h->compare = [&](const QStringList& paths) { compared = paths; };
    QString opened;
    h->open_roast = [&](const QString& path) { opened = path; };
    QTest::keyClicks(h->search_box(), QStringLiteral("sumatra"));
    QCOMPARE(h->table()->model()->rowCount(), 1);
    QCOMPARE(h->table()->selectionModel()->selectedRows().size(), 1);
    QVERIFY(!h->button(QStringLiteral("Compare"))->isEnabled());
    QVERIFY(h->button(QStringLiteral("Open"))->isEnabled());
    h->CompareChosen();
    QVERIFY(compared.isEmpty());
    h->OpenChosen();
    QCOMPARE(opened, folder + QStringLiteral("Sumatra.csv"));
    // Shown again, the roasts the search hid are no longer chosen.
    h->search_box()->clear();
    QCOMPARE(h->table()->model()->rowCount(), 4);
    QCOMPARE(h->table()->selectionModel()->selectedRows().size(), 1);
    QVERIFY(h->button(QStringLiteral("Open"))->isEnabled());
}

// "Save table…" starts outside the roasts folder, then where the user last
// saved; a table saved among the roasts all the same is passed over.
void RoastHistoryTest::aSavedTableStartsOutsideTheRoastsAndIsNeverListedAsOne() {
    Stand t;
    const QString folder = t.folder.path() + QStringLiteral("/");
    QStringList paths;
    for (int i = 0; i < 2; ++i)
        paths << WriteFile(folder + QStringLiteral("%1.csv").arg(i), SavedRoast(60, 100 + i, "# profile: P\n"));
    RoastCompareWindow* compared = nullptr;
    t.live.on_compare_made = [&](RoastCompareWindow& window) { compared = &window; };
    t.live.Compare(paths);
    QTRY_VERIFY(compared);
    QString suggested;
    compared->files().choose_table_to_save = [&](const QString& path) {
        suggested = path;
        return folder + QStringLiteral("Roast comparison.csv");
    };
    compared->button(QStringLiteral("Save table\u2026"))->click();
    QVERIFY2(!suggested.startsWith(folder), qPrintable(suggested));
    QVERIFY(QFile::exists(folder + QStringLiteral("Roast comparison.csv")));
    compared->button(QStringLiteral("Save table\u2026"))->click();
    QCOMPARE(suggested, folder + QStringLiteral("Roast comparison.csv"));

    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QTRY_VERIFY(!h->loading() && h->table()->model()->rowCount() > 0);
    QCOMPARE(h->table()->model()->rowCount(), 2);
}

void RoastHistoryTest::columnsFitTheirRoastsUntilTheUserSizesThem() {
    const auto open = [](Stand& t) {
        WriteFile(t.folder.path() + QStringLiteral("/a.csv"),
                  SavedRoast(65, 300, "# start: 2026-12-01T10:00:00+00:00\n"));
        t.live.ShowHistory();
        return t.live.history();
    };
    const auto loaded = [](RoastHistoryWindow* h) { return h->table()->model()->rowCount() == 1 && !h->loading(); };
    const QString started = QStringLiteral("2026-12-01 10:00:00");
    // An earlier version kept the widths a new table has, as if the user
    // had set them.
    {
        QStandardItemModel columns(0, RoastHistoryModel::kColumns);
        QTableView untouched;
        untouched.setModel(&columns);
        untouched.horizontalHeader()->setStretchLastSection(true);
        WindowSettings().setValue(QStringLiteral("history/columns"), untouched.horizontalHeader()->saveState());
    }
    int fitted = 0;
    {
        Stand t;
        RoastHistoryWindow* h = open(t);
        QTRY_VERIFY(loaded(h));
        fitted = h->table()->horizontalHeader()->sectionSize(0);
        QVERIFY(fitted >= h->table()->horizontalHeader()->fontMetrics().horizontalAdvance(started));
    }
    // Opened again, the columns fit as they did: the window's own fitting
    // and its stretching of the last column are not the user's widths.
    {
        Stand t;
        RoastHistoryWindow* h = open(t);
        QTRY_VERIFY(loaded(h));
        QCOMPARE(h->table()->horizontalHeader()->sectionSize(0), fitted);
        h->table()->horizontalHeader()->resizeSection(1, 333);
    }
    // What the user sized stays.
    Stand t;
    RoastHistoryWindow* h = open(t);
    QTRY_VERIFY(loaded(h));
    QCOMPARE(h->table()->horizontalHeader()->sectionSize(1), 333);
}

QTEST_MAIN(RoastHistoryTest)
#include "roast_history_window_test.moc"
