// The curve window's test stand: a recorder fed as the controller feeds it,
// with the curve on it under an owner that runs modally as the main window
// does; and saved roasts written for the history and the comparison.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <fstream>

#include "controller_state.h"
#include "file_io.h"
#include "live_roast_curve.h"
#include "roast_log_files.h"
#include "roast_log_text.h"
#include "roast_recorder.h"
#include "step_data.h"

class FakeClock final : public RoastClock {
public:
    int64_t ms = 0;
    int64_t MonotonicMs() override { return ms; }
    LocalDateTime Now() override { return LocalDateTime{}; }
};

// A recorder with the curve on it, under a modal owner; `saved`: the
// recordings are saved in the folder as the program saves them.
struct Stand {
    QTemporaryDir folder;
    QDialog owner;
    FakeClock clock;
    ControllerState s;
    CStep_Data working;
    RoastLogFiles files{folder.path().toStdString()};
    bool saved;
    RoastRecorder recorder{clock, saved ? &files : nullptr, "kavolo-roaster test"};
    LiveRoastCurve live{recorder, saved ? &files : nullptr, folder.path(), &owner,
                        [this] { return s.show_celsius != 0; }};

    explicit Stand(bool saved_logs = false) : saved(saved_logs) {
        owner.setWindowModality(Qt::ApplicationModal);
        owner.show();
    }
    RoastCurveWindow* window() const { return live.window(); }

    void Run(int32_t phase, int32_t step) {
        s.machine_state = kRun;
        s.run_phase = phase;
        s.step_index = step;
        recorder.Observe(s, working);
    }
    // Readings every half second from `from` to `to` seconds.
    void Read(double from, double to, int32_t raw) {
        for (double t = from; t <= to + 1e-9; t += 0.5) {
            clock.ms = std::llround(t * 1000);
            s.temperature = raw;
            recorder.OnReading(raw + static_cast<int32_t>(t), s, working);
        }
    }
    void Finish() {
        s.machine_state = kFinished;
        recorder.Observe(s, working);
    }
    // The curve window in front, with the keyboard, as the user has it.
    RoastCurveWindow* ActiveWindow() {
        live.Show();
        return QTest::qWaitForWindowActive(window()) ? window() : nullptr;
    }
    // The run of the test: step 1, step 2, a sensor error, readings on,
    // five seconds without any, then cooling.
    void Roast() {
        Run(kHeat, 1);
        Read(0, 20, 100);
        Run(kHeat, 2);
        Read(20.5, 30, 100);
        Read(30.5, 30.5, 700);  // "Hi": no temperature
        Read(31, 35, 100);
        Read(40, 45, 100);
        Run(kCool, 3);
        Read(45.5, 50, 100);
    }
};

inline QString WriteFile(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
}

inline QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

// A click that goes through the window system, so a window blocked by a
// modal one would not get it.
inline void ClickAsUser(QPushButton* button) {
    QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      button->mapTo(button->window(), button->rect().center()));
}

inline std::string FileText(const std::string& path) {
    std::string text, reason;
    ReadWholeFile(path, text, reason);
    return text;
}

// The rows of a log file: everything from its column line on.
inline std::string Rows(const std::string& path) {
    const std::string text = FileText(path);
    return text.substr(text.find(kRoastLogColumns));
}

// A saved roast of `seconds`, its bean at `start_f` rising a degree a
// second, with `header` lines first.
inline std::string SavedRoast(double seconds, int start_f, const std::string& header = {}) {
    RoastLog log;
    for (double t = 0; t <= seconds; t += 1) {
        RoastSample sample;
        sample.seconds = t;
        sample.bean_f = start_f + static_cast<int>(t);
        sample.machine_state = kRun;
        sample.run_phase = kHeat;
        sample.step = 1;
        log.samples.push_back(sample);
    }
    return header + FormatRoastLog(log);
}

