// The "Roast curve" window: the plot of a roast with its last values as
// text above it and the bar of its phases below, the marks' controls, the
// notes beside it, and the file actions. It shows a recorder's running or
// last recording and follows it sample by sample, or a log read from a
// file, with a saved roast drawn faintly behind to roast against, which
// follow mode can steer the roast after. Closing it changes nothing of a
// recording.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "curve_file_actions.h"
#include "forecast.h"
#include "notes_binding.h"
#include "roast_log.h"
#include "roast_plot.h"
#include "roast_recorder.h"

class MarkControls;
class PhaseBar;
class RoastNotesPanel;
class QLabel;
class QPushButton;

class RoastCurveWindow : public QWidget {
    Q_OBJECT
public:
    // `roasts_folder` is where "Open roast…" starts and what "Open folder"
    // opens. The window is a top-level window of its own; with a parent it
    // stays usable while the parent runs modally.
    explicit RoastCurveWindow(QString roasts_folder, QWidget* parent = nullptr);
    ~RoastCurveWindow() override;

    // Shows `recorder`'s running or last recording, and marks it; null
    // shows nothing.
    void Follow(RoastRecorder* recorder);
    // The followed recorder's news: a new recording is shown from its
    // start, a sample is added to the curve.
    void OnRoastEvent(RoastEvent event);
    // Shows `log`, read from `path`, instead of the recorder's.
    void ShowLog(RoastLog log, const QString& path);
    // Shows the saved roast at `path` as "Open roast…" does: here, or
    // beside a roast being recorded in a read-only window. A file that
    // does not read is said in a box and nothing changes.
    void OpenRoastFile(const QString& path);
    // Draws the saved roast at `path` faintly behind the curve, aligned at
    // the start, until cleared; it stays across new roasts. A file that
    // does not read is said in a box and nothing changes.
    void ShowBackgroundFile(const QString& path);
    // The same for `log`, already read from `path`.
    void ShowBackground(RoastLog log, const QString& path);
    void ClearBackground();
    // The background shown and its file; null and empty without one.
    const RoastLog* background() const { return background_ ? &*background_ : nullptr; }
    const QString& background_path() const { return background_path_; }
    // Shows the window in front, with the keyboard (the user asked for it).
    void ShowActive();
    // Shows the window when it opens by itself: the keyboard stays with
    // the window that has it.
    void ShowPassively();
    // Temperatures in °C (true) or °F, as the panel shows them.
    void SetCelsius(bool celsius);
    bool celsius() const { return celsius_; }
    // True while the window shows the followed recorder's recording.
    bool live() const { return recorder_ && shown_ == &recorder_->log(); }

    // The file actions and their file choices.
    CurveFileActions& files() { return files_; }
    // Told of every read-only window this one opens for a roast chosen
    // while a recording runs.
    std::function<void(RoastCurveWindow&)> on_viewer_opened;
    // Shows the roast history ("History…"), and brings the panel to the
    // front ("Panel", key P); each button is hidden without its action.
    std::function<void()> show_history;
    std::function<void()> show_panel;
    // The saved file of the recorder's last recording; empty while one
    // runs and when it could not be saved. Notes edited after a roast are
    // written into it.
    std::function<std::string()> saved_roast_file;

    // Follow mode: "Follow background" (enabled while a background is
    // shown) turns it on or off; a background cleared or replaced turns it
    // off. Hidden without the action. SetFollowStatus shows what follow
    // mode does: the button checked or not, and the text beside it.
    std::function<void(bool on)> follow_toggled;
    void SetFollowStatus(bool on, const QString& text);
    // Told when the background is shown, replaced or cleared.
    std::function<void()> background_changed;
    // What the profile the next roast runs is (the whole name of the roast
    // its steps came from), under the buttons; empty: nothing is said.
    void SetProfileNote(const QString& text);
    QString profile_note() const;
    QString follow_status() const;
    // "Roast again" and "Save steps as profile…" for the roast shown (its
    // file, when it has one); each button is hidden without its action.
    std::function<void(const RoastLog& log, const QString& path)> roast_again;
    std::function<void(const RoastLog& log)> save_steps_as_profile;

    // The roaster's model: what it foresees of the current profile (drawn
    // dashed while the window shows the recorder's roasts; none: nothing),
    // and the line that says what it rests on and what it foresees.
    void ShowForecast(std::optional<Forecast> forecast);
    const std::optional<Forecast>& forecast() const { return forecast_; }
    void SetModelText(const QString& text, const QString& tooltip);
    QString model_text() const;
    // "Plan a program" for the background (or, without one, the roast
    // shown); hidden without the action, and enabled while `available`,
    // `why` saying otherwise why not.
    std::function<void(const RoastLog& log, const QString& path)> plan_program;
    void SetPlanAvailable(bool available, const QString& why);

    // Keeps the notes as typed with the roast shown, if they changed.
    void CommitNotes() { notes_binding_.Commit(); }

    // What is shown (tests): the plot, the text line, a button by its
    // text, the phase bar, the notes and the marks' controls.
    RoastPlot& plot() { return plot_; }
    QString reading_text() const;
    QPushButton* button(const QString& text) const;
    PhaseBar* phase_bar() const { return phase_bar_; }
    RoastNotesPanel* notes() const { return notes_; }
    MarkControls* mark_controls() const { return mark_controls_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildPicture();
    QWidget* BuildButtons();
    // Draws the shown log afresh; the texts follow. While the window is
    // hidden, once it is shown again.
    void Rebuild();
    void UpdateTexts();
    void UpdateLegend();
    // The phases of what is shown: while recording up to now, else to
    // its last sample.
    void UpdatePhases();
    // The marks' controls and the buttons that depend on what is shown.
    void UpdateButtons();
    void UpdatePlanButton();
    bool Recording() const { return live() && recorder_->recording(); }
    // The forecast is of the next roast or the one under way: not of a
    // roast opened from a file.
    bool ForecastShown() const { return forecast_ && (live() || !shown_); }
    // The notes beside the curve: shown while the user wants them and the
    // curve keeps a usable width beside them; asked for, the window widens
    // to make room.
    bool RoomForNotes(int window_width) const;
    void FitNotes();
    void ShowNotes(bool shown);
    // The notes binding on what is shown now.
    void BindNotes();
    // The background changed: follow mode, if on, goes off.
    void BackgroundChanged();
    // The file of what is shown: the opened file or the recorder's saved one.
    QString ShownPath() const;

    RoastRecorder* recorder_ = nullptr;
    RoastLog opened_;  // a log read from a file
    QString opened_path_;
    const RoastLog* shown_ = nullptr;
    // The background roast and its file.
    std::optional<RoastLog> background_;
    QString background_path_;
    std::optional<Forecast> forecast_;
    bool plan_available_ = false;
    QString plan_unavailable_why_;
    bool celsius_ = false;
    bool stale_ = false;  // samples came while hidden; drawn when shown
    bool notes_wanted_ = true;  // the user's choice, kept between runs

    RoastPlot plot_;
    CurveFileActions files_;
    QWidget* picture_ = nullptr;  // what "Save picture…" saves
    QLabel* summary_ = nullptr;
    QLabel* legend_ = nullptr;
    QLabel* reading_ = nullptr;
    QLabel* follow_status_ = nullptr;
    QLabel* model_line_ = nullptr;
    QLabel* profile_note_ = nullptr;
    PhaseBar* phase_bar_ = nullptr;
    RoastNotesPanel* notes_ = nullptr;
    NotesBinding notes_binding_;
    MarkControls* mark_controls_ = nullptr;
    std::vector<QPointer<RoastCurveWindow>> viewers_;  // read-only windows opened from this one
    QPointer<QWidget> keyboard_owner_;  // had the keyboard when this opened by itself
    QElapsedTimer since_passive_show_;
};
