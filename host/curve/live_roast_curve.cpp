#include "live_roast_curve.h"

#include "roast_curve_window.h"
#include "roast_log_files.h"

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
        window_->Follow(&recorder_);
        window_placer_ = PlacerFor(*window_, QStringLiteral("curve"));
        if (share_panel_keys) share_panel_keys(*window_);
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
        history_->roast_again = [this](const QString& path) {
            std::optional<RoastLog> log = Window().files().ReadLogOrWarn(path);
            if (log && roast_again) roast_again(*log, path);
        };
        if (on_history_made) on_history_made(*history_);
    }
    return *history_;
}

WindowPlacer* LiveRoastCurve::PlacerFor(QWidget& window, const QString& name) {
    // The least a window beside the panel is given: room for a readable
    // curve, or the history's few columns.
    constexpr QSize kLeast(560, 380);
    auto* placer = new WindowPlacer(window, name, kLeast);
    placer->panel = [this]() -> std::optional<PanelWhere> {
        return panel_where ? panel_where() : std::nullopt;
    };
    return placer;
}

void LiveRoastCurve::Show() {
    RoastCurveWindow& window = Window();
    window_placer_->PlaceOnce();
    window.ShowActive();
}

void LiveRoastCurve::ShowPassively() {
    RoastCurveWindow& window = Window();
    window_placer_->PlaceOnce();
    window.ShowPassively();
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

void LiveRoastCurve::ShowBackground(RoastLog log, const QString& path) {
    Window().ShowBackground(std::move(log), path);
}

void LiveRoastCurve::FollowUnit() {
    if (window_) window_->SetCelsius(celsius_());
    if (history_) history_->SetCelsius(celsius_());
}

void LiveRoastCurve::OnEvent(RoastEvent event) {
    if (event == RoastEvent::Started && (!window_ || !window_->isVisible())) ShowPassively();
    if (event == RoastEvent::Ended && history_) history_->Refresh();
    if (!window_) return;
    // The unit is looked at with every sample, so a change shows at once.
    if (event != RoastEvent::Ended) window_->SetCelsius(celsius_());
    window_->OnRoastEvent(event);
}
