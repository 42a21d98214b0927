#include "program_dlg.h"

#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "editor_message.h"
#include "step_values.h"

// The PROGRAM window itself: Cancel, the close box and CloseDlg all run the
// editor's Cancel action, and the window keeps no dialog keyboard handling
// of its own (Escape and Enter go to the focused control).
class ProgramWindow final : public QDialog {
public:
    ProgramWindow(QWidget* owner, CProgramDlg& dlg) : QDialog(owner), dlg_(dlg) {}

    void reject() override {
        dlg_.Guarded([this] { dlg_.OnCancel(); });
    }
    // Ends the window with the Cancel result: hidden, not destroyed.
    void EndWithCancel() { QDialog::done(QDialog::Rejected); }

protected:
    void keyPressEvent(QKeyEvent* event) override { QWidget::keyPressEvent(event); }

private:
    CProgramDlg& dlg_;
};

namespace {
constexpr int kRowPixels = 40;  // a row template is 20 dialog units high

struct ButtonSpec {
    int id;
    const char* text;
    int y;  // dialog units
};
constexpr ButtonSpec kButtons[] = {
    {CProgramDlg::kSelect, "Select", 25},     {CProgramDlg::kDelete, "Delete", 49},
    {CProgramDlg::kAppend, "Append", 73},     {CProgramDlg::kDownload, "Download", 97},
    {CProgramDlg::kCancel, "Cancel", 121},
};

const char* const kIdProperty = "controlId";
}  // namespace

CProgramDlg::CProgramDlg(LibraryState& state, CStep_Data& list, CStepScrollDlg& scroll, EditorServices& services)
    : state_(state), list_(list), scroll_(scroll), services_(services) {}

CProgramDlg::~CProgramDlg() {
    DestroyRows();
    delete window_.data();
}

template <typename Handler>
void CProgramDlg::Guarded(Handler handler) {
    ++handlerDepth_;
    try {
        handler();
    } catch (...) {
        // An exception must not unwind through the event loop.
    }
    --handlerDepth_;
}

QDialog* CProgramDlg::Window() const { return window_; }

void CProgramDlg::Create(QWidget* owner) {
    Destroy();
    auto* window = new ProgramWindow(owner, *this);
    window_ = window;
    const float scale = DisplayScale(window->logicalDpiY());
    state_.scale = scale;
    const auto du = [scale](int units) { return DialogUnits(units, scale); };

    window->setWindowTitle(QStringLiteral("PROGRAM"));
    window->setFixedSize(du(325), du(155));
    QFont font = window->font();
    font.setPixelSize(std::max(1, static_cast<int>(12 * scale)));
    window->setFont(font);

    auto* group = new QGroupBox(QStringLiteral("STEP SETTING"), window);
    group->setGeometry(du(8), du(5), du(310), du(143));

    const std::pair<const char*, int> headings[] = {{"FAN", 56}, {"TIME", 103}, {"HEAT", 150}, {"STATUS", 194}};
    for (const auto& [text, x] : headings) {
        auto* label = new QLabel(QLatin1String(text), window);
        label->move(du(x), du(17));
        label->adjustSize();
    }

    for (const ButtonSpec& entry : kButtons) {
        auto* button = new QPushButton(QLatin1String(entry.text), window);
        button->setObjectName(QLatin1String(entry.text));
        button->setProperty(kIdProperty, entry.id);
        button->setGeometry(du(255), du(entry.y), du(50), du(14));
        button->setAutoDefault(false);
        const int id = entry.id;
        QObject::connect(button, &QPushButton::clicked, window, [this, id] {
            switch (id) {
            case kSelect: Guarded([this] { OnSelect(); }); break;
            case kDelete: Guarded([this] { OnDelete(); }); break;
            case kAppend: Guarded([this] { OnAppend(); }); break;
            case kDownload: Guarded([this] { OnDownload(); }); break;
            case kCancel: Guarded([this] { OnCancel(); }); break;
            default: break;
            }
        });
    }

    auto* timer = new QTimer(window);
    closeTimer_ = timer;
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kCloseDelayMs);
    QObject::connect(timer, &QTimer::timeout, window,
                     [this] { Guarded([this] { services_.SendToHost(DLL_MSG_CLOSED); }); });
    window->hide();
}

void CProgramDlg::Destroy() {
    if (!window_) return;
    ProgramWindow* window = window_;
    window_ = nullptr;
    window->hide();
    // While a handler of this window is on the stack (a message sent to the
    // host, a prompt's event loop), the window must outlive it.
    if (handlerDepth_ > 0) {
        window->deleteLater();
    } else {
        delete window;
    }
}

QPushButton* CProgramDlg::Button(int id) const {
    if (!window_) return nullptr;
    for (QPushButton* button : window_->findChildren<QPushButton*>()) {
        if (button->property(kIdProperty).toInt() == id) return button;
    }
    return nullptr;
}

void CProgramDlg::DestroyRows() {
    rows_.reset();
    rowCount_ = 0;
    if (state_.partAll) *state_.partAll = nullptr;
}

void CProgramDlg::RebuildRows() {
    if (!window_) return;
    DestroyRows();
    const uint32_t count = list_.Renumber();
    if (count == 0 || count > kMaxRows) {
        services_.ShowMessage(QString::fromUtf8(count == 0 ? editortext::kListEmpty : editortext::kListTooLong));
        state_.rowAreaHeight = 100;
        return;
    }
    if (!scroll_.ExistsIn(window_)) scroll_.Create(window_, state_.scale);

    std::vector<StepNode*> records(count);
    list_.ToArray(records.data());
    rows_ = std::make_unique<STEP_PART[]>(count);
    rowCount_ = static_cast<int>(count);
    if (state_.partAll) *state_.partAll = rows_.get();
    const float scale = state_.scale;
    for (uint32_t i = 0; i < count; ++i) {
        STEP_PART& row = rows_[i];
        const bool cooling = i + 1 == count;
        row.ConfigureFields(NumEditLimits{cooling ? 9.0f : 9.9f, 0.0f, 3.0f, 1}, NumEditLimits{9.0f, 0.0f, 1.0f, 0});
        row.Create(scroll_.Content(), scale, state_.dots);
        row.Window()->show();
        row.Window()->move(0, static_cast<int>(i * scale * kRowPixels));
        const StepNode& r = *records[i];
        row.SetStep(r.index, r.fan, r.time, r.heat, r.status);
    }
    state_.rowAreaHeight =
        count * kRowPixels + 60 > 100 ? 120 + static_cast<int>(count * scale * kRowPixels) : 100;
}

void CProgramDlg::CollectRows() {
    if (!window_) return;
    const uint32_t count = list_.Renumber();
    std::vector<StepNode*> records(count);
    if (count > 0) list_.ToArray(records.data());
    const uint32_t paired = std::min<uint32_t>(count, static_cast<uint32_t>(rowCount_));
    for (uint32_t i = 0; i < paired; ++i) {
        STEP_PART& row = rows_[i];
        row.Commit();
        records[i]->time = stepvalues::MinutesToTenths(row.m_time);
        records[i]->fan = row.m_fan;
        records[i]->heat = row.m_heat;
    }
}

void CProgramDlg::ResetScrollRange() {
    state_.scroll = ScrollState{0, static_cast<int>(static_cast<unsigned>(state_.rowAreaHeight) / 10 + 17), 50, 0};
    scroll_.ApplyState();
}

void CProgramDlg::ReloadRow(uint32_t index) {
    StepNode step{};
    if (index == 0 || index > static_cast<uint32_t>(rowCount_) || !list_.GetStep(index, step)) return;
    rows_[index - 1].SetStep(step.index, step.fan, step.time, step.heat, step.status);
}

void CProgramDlg::OnSelect() {
    if (rowCount_ == 1) {
        rows_[0].SetSelected(true);
        return;
    }
    // The first row never takes part; only pending steps can be selected.
    bool anySelected = false;
    for (int i = 1; i < rowCount_; ++i) {
        if (rows_[i].CheckEnabled() && rows_[i].m_selected) anySelected = true;
    }
    for (int i = 1; i < rowCount_; ++i) {
        if (rows_[i].CheckEnabled()) rows_[i].SetSelected(!anySelected);
    }
}

void CProgramDlg::OnDelete() {
    if (state_.Locked() || list_.count <= 2) return;
    CollectRows();
    uint32_t deleted = 0;
    for (int i = 0; i < rowCount_; ++i) {
        const STEP_PART& row = rows_[i];
        if (!row.m_selected || !row.CheckEnabled()) continue;
        if (list_.count <= 2) {
            services_.ShowMessage(QString::fromUtf8(editortext::kCannotDeleteOnly));
            break;
        }
        const uint32_t before = list_.count;
        list_.DeleteStep(static_cast<uint32_t>(i) + 1 - deleted);
        if (list_.count < before) ++deleted;
    }
    if (deleted == 0) return;
    RebuildRows();
    ResetScrollRange();
    services_.SendToHost(DLL_MSG_CHANGED);
}

void CProgramDlg::OnAppend() {
    if (state_.Locked() || list_.count >= kMaxRows || rowCount_ == 0) return;
    const int n = rowCount_;
    if (rows_[n - 1].m_statusText == QLatin1String("STEP  END         ")) return;

    // The step after which the new one goes: the last selected pending step;
    // else the last step that runs, has run or is in error; else the last
    // heating step. A running (or faulty) cooling step is the cooling case.
    int t = 0;
    bool cooling = false;
    for (int i = 0; i < n; ++i) {
        if (rows_[i].m_selected && rows_[i].CheckEnabled()) t = i + 1;
    }
    if (t == 0) {
        int k = 0;
        for (int i = 0; i < n; ++i) {
            if (!rows_[i].TimeEnabled()) k = i + 1;
        }
        if (k == n) {
            t = n - 1;
            cooling = true;
        } else {
            t = k == 0 ? n - 1 : k;
        }
    }

    if (t > 0) {
        CollectRows();
        STEP_PART& source = rows_[t - 1];
        source.Commit();
        const int32_t fan = source.m_fan;
        const int32_t time = stepvalues::MinutesToTenthsForCopy(source.m_time);
        const int32_t heat = source.m_heat;
        list_.InsertStep(static_cast<uint32_t>(t) + 1, fan, time, heat, StepWaiting);
        RebuildRows();
        if (cooling) {
            // Back to heating: the cooling step waits again behind a new
            // running step at fan 5, 5.9 minutes, high heat.
            const uint32_t newStep = static_cast<uint32_t>(t) + 1;
            list_.UpdateStep(newStep + 1, KEEP_VALUE, KEEP_VALUE, 0, CoolWaiting);
            ReloadRow(newStep + 1);
            list_.UpdateStep(newStep, 5, 59, 3, StepRunning);
            ReloadRow(newStep);
            services_.SendToHost(DLL_MSG_RESUME);
        } else {
            services_.SendToHost(DLL_MSG_CHANGED);
        }
    }
    ResetScrollRange();
}

void CProgramDlg::OnDownload() {
    if (!services_.AskYesNo(QString::fromUtf8(editortext::kAskDownload))) return;
    CollectRows();
    services_.SendToHost(DLL_MSG_DOWNLOAD);
}

void CProgramDlg::OnCancel() {
    if (!window_) return;
    CollectRows();
    state_.shown = 0;
    state_.placement = window_->pos() - HostOrigin(state_);
    window_->EndWithCancel();
    if (closeTimer_) closeTimer_->start();
}
