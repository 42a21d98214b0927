#include "step_scroll_dlg.h"

#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {
// The mouse wheel has no effect of its own on the step list.
class WheelBlocker final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) return true;
        return QObject::eventFilter(watched, event);
    }
};

// The last position at which a full page still fits.
int LastReachable(const ScrollState& s) { return std::max(s.minimum, s.maximum - s.page + 1); }
}  // namespace

CStepScrollDlg::CStepScrollDlg(ScrollState& state) : state_(state) {}

CStepScrollDlg::~CStepScrollDlg() { delete window_.data(); }

bool CStepScrollDlg::ExistsIn(const QWidget* parent) const {
    return window_ && window_->parentWidget() == parent;
}

void CStepScrollDlg::Create(QWidget* parent, float scale) {
    delete window_.data();
    auto* window = new QWidget(parent);
    window_ = window;
    window->resize(DialogUnits(231, scale), DialogUnits(101, scale));
    window->hide();

    auto* bar = new QScrollBar(Qt::Vertical, window);
    bar_ = bar;
    const int barWidth = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
    bar->setGeometry(window->width() - barWidth, 0, barWidth, window->height());
    bar->installEventFilter(new WheelBlocker(bar));

    auto* content = new QWidget(window);
    content_ = content;
    content->setGeometry(0, 0, window->width() - barWidth, window->height());

    QObject::connect(bar, &QScrollBar::actionTriggered, window, [this](int action) { OnBarAction(action); });
    ApplyState();
}

void CStepScrollDlg::ApplyState() {
    if (!bar_) return;
    const ScrollState& s = state_;
    bar_->setRange(s.minimum, LastReachable(s));
    bar_->setPageStep(std::max(s.page, 1));
    bar_->setSingleStep(1);
    bar_->setValue(s.position);
    bar_->setEnabled(s.maximum - s.minimum + 1 > s.page);
}

void CStepScrollDlg::ScrollContent(int dy) {
    if (content_ && dy != 0) content_->scroll(0, dy);
}

void CStepScrollDlg::OnVScroll(Request request, int track) {
    ScrollState& s = state_;
    const int position = s.position;
    int p = position;
    switch (request) {
    case Request::LineUp:
    case Request::PageUp:
        p = position - (request == Request::LineUp ? 1 : 5);
        if (p < s.minimum) return;
        break;
    case Request::LineDown:
    case Request::PageDown:
        p = position + (request == Request::LineDown ? 1 : 5);
        if (s.page + p - 2 >= s.maximum) return;
        break;
    case Request::ThumbTrack: p = track; break;
    case Request::ThumbPosition: return;
    case Request::Top: p = s.minimum; break;
    // The bottom is the last position at which a page still fits; the
    // content never moves beyond its last row.
    case Request::Bottom: p = LastReachable(s); break;
    }
    ScrollContent((position - p) * kUnitPixels);
    s.position = p;
}

void CStepScrollDlg::OnBarAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: OnVScroll(Request::LineUp); break;
    case QAbstractSlider::SliderSingleStepAdd: OnVScroll(Request::LineDown); break;
    case QAbstractSlider::SliderPageStepSub: OnVScroll(Request::PageUp); break;
    case QAbstractSlider::SliderPageStepAdd: OnVScroll(Request::PageDown); break;
    case QAbstractSlider::SliderMove: OnVScroll(Request::ThumbTrack, bar_->sliderPosition()); break;
    case QAbstractSlider::SliderToMinimum: OnVScroll(Request::Top); break;
    case QAbstractSlider::SliderToMaximum: OnVScroll(Request::Bottom); break;
    default: return;
    }
    // The bar shows the position the table decided on, not its own.
    bar_->setSliderPosition(state_.position);
}
