#include "live_roast_curve.h"

#include "roast_curve_window.h"

LiveRoastCurve::LiveRoastCurve(RoastRecorder& recorder, QString roasts_folder, QWidget* owner,
                               std::function<bool()> celsius)
    : recorder_(recorder),
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
    delete window_.data();
}

RoastCurveWindow& LiveRoastCurve::Window() {
    if (!window_) {
        window_ = new RoastCurveWindow(folder_, owner_);
        window_->SetCelsius(celsius_());
        window_->Follow(&recorder_);
        if (on_window_made) on_window_made(*window_);
    }
    return *window_;
}

void LiveRoastCurve::Show() {
    Window().ShowActive();
}

void LiveRoastCurve::FollowUnit() {
    if (window_) window_->SetCelsius(celsius_());
}

void LiveRoastCurve::OnEvent(RoastEvent event) {
    if (event == RoastEvent::Started && (!window_ || !window_->isVisible())) {
        Window().ShowPassively();
    }
    if (!window_) return;
    // The unit is looked at with every sample, so a change shows at once.
    if (event != RoastEvent::Ended) window_->SetCelsius(celsius_());
    window_->OnRoastEvent(event);
}
