#include "live_roast_curve.h"

#include <QFutureWatcher>
#include <QtConcurrent>
#include <algorithm>

#include "artisan_export_task.h"
#include "roast_curve_window.h"
#include "roast_log_files.h"
#include "roast_reading.h"
#include "warning_box.h"

LiveRoastCurve::LiveRoastCurve(RoastRecorder& recorder, const RoastLogFiles* files, QString roasts_folder,
                               QWidget* owner, std::function<bool()> celsius)
    : recorder_(recorder),
      files_(files),
      folder_(std::move(roasts_folder)),
      owner_(owner),
      celsius_(std::move(celsius)),
      self_(std::make_shared<LiveRoastCurve*>(this)) {
    std::weak_ptr<LiveRoastCurve*> self = self_;
    recorder_.AddListener([self](RoastEvent event) {
        if (auto alive = self.lock(); alive && *alive) (*alive)->OnEvent(event);
    });
}

LiveRoastCurve::~LiveRoastCurve() {
    *self_ = nullptr;
    for (const QPointer<RoastCompareWindow>& comparison : comparisons_) delete comparison.data();
    delete history_.data();
    delete window_.data();
}

RoastCurveWindow& LiveRoastCurve::Window() {
    if (!window_) {
        window_ = new RoastCurveWindow(folder_, owner_);
        window_->SetCelsius(celsius_());
        window_->saved_roast_file = [files = files_] {
            return files && files->saved() ? files->path() : std::string();
        };
        window_->show_history = [this] { ShowHistory(); };
        window_->show_panel = show_panel;
        window_->follow_toggled = follow_toggled;
        window_->roast_again = roast_again;
        window_->save_steps_as_profile = save_steps_as_profile;
        window_->SetFollowStatus(follow_on_, follow_text_);
        window_->plan_program = plan_program;
        window_->SetPlanAvailable(plan_available_, plan_why_);
        window_->SetModelText(model_text_, model_tooltip_);
        window_->ShowForecast(forecast_);
        window_->SetProfileNote(profile_note_);
        window_->background_changed = [this] {
            if (background_changed) background_changed();
        };
        window_->Follow(&recorder_);
        window_placer_ = PlacerFor(*window_, QStringLiteral("curve"));
        if (on_window_made) on_window_made(*window_);
    }
    return *window_;
}

RoastHistoryWindow& LiveRoastCurve::History() {
    if (!history_) {
        history_ = new RoastHistoryWindow(folder_, owner_);
        history_->SetCelsius(celsius_());
        history_placer_ = PlacerFor(*history_, QStringLiteral("history"));
        // Opened as "Open roast…" opens, in the curve window brought to the front.
        history_->open_roast = [this](const QString& path) {
            Show();
            window_->OpenRoastFile(path);
        };
        history_->show_as_background = [this](const QString& path) {
            Show();
            window_->ShowBackgroundFile(path);
        };
        history_->compare = [this](const QStringList& paths) { Compare(paths); };
        history_->export_for_artisan = [this](const QStringList& paths) {
            ExportRoastsForArtisan(paths, celsius_(), Window().files(), history_);
        };
        history_->roast_again = [this](const QString& path) {
            std::optional<RoastLog> log = Window().files().ReadLogOrWarn(path);
            if (log && roast_again) roast_again(*log, path);
        };
        if (plan_program)
            history_->plan_program = [this](const QString& path) {
                std::optional<RoastLog> log = Window().files().ReadLogOrWarn(path);
                if (log && plan_program) plan_program(*log, path);
            };
        history_->SetPlanAvailable(plan_available_, plan_why_);
        if (on_history_made) on_history_made(*history_);
    }
    return *history_;
}

WindowPlacer* LiveRoastCurve::PlacerFor(QWidget& window, const QString& name) {
    auto* placer = new WindowPlacer(window, name, kLeastBesidePanel);
    placer->panel = [this]() -> std::optional<PanelWhere> {
        return panel_where ? panel_where() : std::nullopt;
    };
    return placer;
}

void LiveRoastCurve::Show() {
    RoastCurveWindow& window = Window();
    window_placer_->PlaceOnce();
    window.ShowActive();
    SharePanelKeys();
}

void LiveRoastCurve::SharePanelKeys() {
    // Once shown: the window system's window then exists.
    if (share_panel_keys && window_) share_panel_keys(*window_);
}

void LiveRoastCurve::ShowPassively() {
    RoastCurveWindow& window = Window();
    window_placer_->PlaceOnce();
    window.ShowPassively();
    SharePanelKeys();
}

void LiveRoastCurve::ShowHistory() {
    RoastHistoryWindow& history = History();
    history_placer_->PlaceOnce();
    history.show();
    history.raise();
    history.activateWindow();
}

void LiveRoastCurve::ShowFollowStatus(bool on, const QString& text) {
    follow_on_ = on;
    follow_text_ = text;
    if (window_) window_->SetFollowStatus(on, text);
}

void LiveRoastCurve::ShowForecast(std::optional<Forecast> forecast) {
    forecast_ = std::move(forecast);
    if (window_) window_->ShowForecast(forecast_);
}

void LiveRoastCurve::ShowModelText(const QString& text, const QString& tooltip) {
    model_text_ = text;
    model_tooltip_ = tooltip;
    if (window_) window_->SetModelText(text, tooltip);
}

void LiveRoastCurve::SetPlanAvailable(bool available, const QString& why) {
    plan_available_ = available;
    plan_why_ = why;
    if (window_) window_->SetPlanAvailable(available, why);
    if (history_) history_->SetPlanAvailable(available, why);
}

void LiveRoastCurve::ShowRecorderRoasts() {
    if (!Window().live()) window_->Follow(&recorder_);
}

void LiveRoastCurve::ShowProfileNote(const QString& text) {
    profile_note_ = text;
    if (window_) window_->SetProfileNote(text);
}

void LiveRoastCurve::ShowBackground(RoastLog log, const QString& path) {
    Window().ShowBackground(std::move(log), path);
}

void LiveRoastCurve::FollowUnit() {
    if (window_) window_->SetCelsius(celsius_());
    if (history_) history_->SetCelsius(celsius_());
    for (const QPointer<RoastCompareWindow>& comparison : comparisons_)
        if (comparison) comparison->SetCelsius(celsius_());
}

void LiveRoastCurve::Compare(const QStringList& paths) {
    // The same roasts compared again: their window comes back, in front,
    // also from the taskbar.
    for (const QPointer<RoastCompareWindow>& comparison : comparisons_) {
        if (!comparison || !comparison->Compares(paths)) continue;
        if (comparison->isMinimized()) comparison->showNormal();
        comparison->show();
        comparison->raise();
        comparison->activateWindow();
        return;
    }
    auto* reading = new QFutureWatcher<RoastsRead>(history_ ? static_cast<QObject*>(history_) : nullptr);
    QObject::connect(reading, &QFutureWatcher<RoastsRead>::finished, reading, [this, reading] {
        RoastsRead read = reading->result();
        reading->deleteLater();
        std::vector<RoastCompareWindow::Entry> roasts;
        QStringList problems;
        for (auto& [path, parsed] : read) {
            if (parsed.ok)
                roasts.push_back({path, std::move(parsed.log)});
            else
                problems << QStringLiteral("%1: %2").arg(path, QString::fromStdString(parsed.problem));
        }
        if (!problems.isEmpty())
            ShowWarning(history_, QStringLiteral("Cannot read these roast logs:\n") + problems.join(QLatin1Char('\n')));
        if (roasts.size() >= 2) ShowComparison(std::move(roasts));
    });
    reading->setFuture(ReadRoastsLater(paths));
}

void LiveRoastCurve::ShowComparison(std::vector<RoastCompareWindow::Entry> roasts) {
    auto* window = new RoastCompareWindow(std::move(roasts), folder_, celsius_(), owner_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    comparisons_.erase(std::remove(comparisons_.begin(), comparisons_.end(), nullptr), comparisons_.end());
    comparisons_.emplace_back(window);
    if (on_compare_made) on_compare_made(*window);
    // Opened by the user's click: in front, with the keyboard.
    PlacerFor(*window, QStringLiteral("compare"))->PlaceOnce();
    window->show();
    window->raise();
    window->activateWindow();
}

void LiveRoastCurve::OnEvent(RoastEvent event) {
    if (event == RoastEvent::Started && (!window_ || !window_->isVisible())) ShowPassively();
    if (event == RoastEvent::Ended && history_) history_->Refresh();
    if (!window_) return;
    // The unit is looked at with every sample, so a change shows at once.
    if (event != RoastEvent::Ended) window_->SetCelsius(celsius_());
    window_->OnRoastEvent(event);
}
