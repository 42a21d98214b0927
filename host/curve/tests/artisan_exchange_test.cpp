// Roasts from Artisan in the windows: an .alog opened in the curve window
// (a file that does not read refused, nothing changed; its notes not
// written into it), the shown roast exported in the panel's unit, and the
// history listing, exporting and comparing Artisan's files beside the
// console's logs.
#include <QDir>
#include <QLineEdit>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "artisan_profile.h"
#include "file_io.h"
#include "live_roast_curve.h"
#include "roast_compare_window.h"
#include "roast_log_maker.h"
#include "roast_notes_panel.h"
#include "roast_recorder.h"
#include "step_data.h"
#include "window_settings.h"

namespace {

class StillClock final : public RoastClock {
public:
    int64_t MonotonicMs() override { return 0; }
    LocalDateTime Now() override { return LocalDateTime{}; }
};

QString Write(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
}

std::string Read(const QString& path) {
    std::string text, reason;
    ReadWholeFile(path.toStdString(), text, reason);
    return text;
}

// An .alog of Artisan's: two minutes of preheat at 200 °C, CHARGE, then
// eight minutes of beans from 80 °C, a sample every two seconds.
std::string PreheatedAlog() {
    std::string timex, temp2;
    for (int i = 0; i < 300; ++i) {
        timex += (i ? ", " : "") + std::to_string(2 * i) + ".0";
        temp2 += (i ? ", " : "") + std::to_string(i < 60 ? 200.0 : 80.0 + (i - 60) * 0.5);
    }
    return "{'mode': 'C', 'title': 'Guji', 'beans': 'Ethiopia Guji', 'roastisodate': '2026-11-02', "
           "'roasttime': '08:00:00', 'timeindex': [60, 150, 240, 0, 0, 0, 290, 0], 'timex': [" +
           timex + "], 'temp2': [" + temp2 + "]}";
}

QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

struct Stand {
    QTemporaryDir folder;
    StillClock clock;
    RoastRecorder recorder{clock, nullptr, "kavolo-roaster test"};
    bool celsius = false;
    LiveRoastCurve live{recorder, nullptr, folder.path(), nullptr, [this] { return celsius; }};
    QString Path(const QString& name) const { return folder.filePath(name); }
};

}  // namespace

class ArtisanExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void init() { WindowSettings().clear(); }
    void opensAnAlogAndExportsTheShownRoastInThePanelsUnit();
    void historyListsExportsAndComparesArtisansFiles();
};

void ArtisanExchangeTest::opensAnAlogAndExportsTheShownRoastInThePanelsUnit() {
    Stand t;
    t.live.Show();
    RoastCurveWindow* w = t.live.window();
    const QString alog = Write(t.Path(QStringLiteral("guji.alog")), PreheatedAlog());
    w->OpenRoastFile(alog);
    // From CHARGE on, the first point at 0 s and 176 °F (80 °C).
    const std::vector<QLineSeries*> lines = w->plot().bean_lines();
    QPointF first(1e9, 0);
    for (QLineSeries* line : lines)
        if (line->count() > 0 && line->at(0).x() < first.x()) first = line->at(0);
    QCOMPARE(first, QPointF(0, 176));
    QCOMPARE(w->notes()->bean_field()->text(), QStringLiteral("Ethiopia Guji"));
    // Artisan's file is not rewritten with notes typed here.
    QVERIFY(!w->notes()->bean_field()->isEnabled());

    const QString broken =
        Write(t.Path(QStringLiteral("broken.alog")), "{'mode': 'C', 'timex': [0.0], 'temp2': [1.0, 2.0]}");
    w->OpenRoastFile(broken);
    QMessageBox* box = ShownBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Cannot read the roast log %1: not a readable Artisan profile: 'temp2' has 2 "
                                         "values, 'timex' 1")
                              .arg(broken));
    box->close();
    QCOMPARE(w->plot().bean_lines(), lines);  // nothing shown changed

    // Exported in the panel's unit, it reads back the same.
    t.celsius = true;
    t.live.FollowUnit();
    QString suggested;
    const QString exported = t.Path(QStringLiteral("exported.alog"));
    w->files().choose_artisan_to_save = [&](const QString& offered) {
        suggested = offered;
        return exported;
    };
    w->button(QStringLiteral("Export for Artisan\u2026"))->click();
    QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("2026-11-02_080200 Guji.alog"));
    const std::string text = Read(exported);
    QVERIFY(text.find("'mode': 'C'") != std::string::npos);
    const RoastLogParse again = ParseArtisanProfile(text);
    QVERIFY2(again.ok, again.problem.c_str());
    QCOMPARE(FormatRoastLog(again.log), FormatRoastLog(ParseArtisanProfile(PreheatedAlog()).log));

    // The next export is offered where this one went.
    w->files().choose_artisan_to_save = [&](const QString& offered) {
        suggested = offered;
        return QString();
    };
    w->button(QStringLiteral("Export for Artisan\u2026"))->click();
    QCOMPARE(QFileInfo(suggested).absolutePath(), QFileInfo(exported).absolutePath());
}

void ArtisanExchangeTest::historyListsExportsAndComparesArtisansFiles() {
    Stand t;
    MadeRoast made;
    made.notes.bean = "Kenya AA";
    Write(t.Path(QStringLiteral("2026-12-08_140305 Light roast.csv")), FormatRoastLog(MakeRoastLog(made)));
    Write(t.Path(QStringLiteral("2026-11-02 guji.alog")), PreheatedAlog());
    std::string csv =
        "Date:03.11.2026\tUnit:F\tCHARGE:00:00\tTP:\tDRYe:04:00\tFCs:\tFCe:\tSCs:\tSCe:\tDROP:08:00\t"
        "COOL:\tTime:09:30\r\nTime1\tTime2\tET\tBT\tEvent\r\n";
    for (int s = 0; s <= 540; ++s)
        csv += (s / 60 < 10 ? "0" : "") + std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") +
               std::to_string(s % 60) + "\t\t-1\t" + std::to_string(150 + s / 2) + "\t\r\n";
    Write(t.Path(QStringLiteral("2026-11-03 artisan.csv")), csv);

    t.live.ShowHistory();
    RoastHistoryWindow* h = t.live.history();
    QTRY_VERIFY(h->table()->model()->rowCount() == 3 && !h->loading());
    for (int row = 0; row < 3; ++row) {
        h->Choose(row);
        QVERIFY2(h->button(QStringLiteral("Open"))->isEnabled(), qPrintable(h->cell(row, 0)));  // it reads
    }
    QCOMPARE(h->cell(2, 2), QStringLiteral("Ethiopia Guji"));  // newest first: the log, Artisan's CSV, the .alog
    h->table()->selectAll();

    // All three into a folder, each under its file's name.
    const QString out = t.Path(QStringLiteral("for artisan"));
    QDir().mkpath(out);
    Write(out + QStringLiteral("/2026-11-02 guji.alog"), "taken");
    t.live.Show();
    t.live.window()->files().choose_export_folder = [&](const QString&) { return out; };
    h->button(QStringLiteral("Export for Artisan\u2026"))->click();
    const QStringList written{QStringLiteral("2026-11-02 guji (2).alog"), QStringLiteral("2026-11-02 guji.alog"),
                              QStringLiteral("2026-11-03 artisan.alog"),
                              QStringLiteral("2026-12-08_140305 Light roast.alog")};
    QTRY_COMPARE(QDir(out).entryList({QStringLiteral("*.alog")}, QDir::Files, QDir::Name), written);
    QVERIFY(!ShownBox());
    QCOMPARE(Read(out + QStringLiteral("/2026-11-02 guji.alog")), std::string("taken"));  // not replaced
    for (const QString& name : written.mid(2)) {
        const RoastLogParse read = ParseArtisanProfile(Read(out + "/" + name));
        QVERIFY2(read.ok && !read.log.samples.empty(), qPrintable(name));
    }

    RoastCompareWindow* compared = nullptr;
    t.live.on_compare_made = [&](RoastCompareWindow& window) { compared = &window; };
    h->button(QStringLiteral("Compare"))->click();
    QTRY_VERIFY(compared);
    QCOMPARE(compared->plot().legend_entries().size(), std::size_t{3});
}

QTEST_MAIN(ArtisanExchangeTest)
#include "artisan_exchange_test.moc"
