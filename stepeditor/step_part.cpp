#include "step_part.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>

#include "step_values.h"
#include "up_down_control.h"

namespace {
// The HEAT list answers the mouse wheel only while it has the focus, so
// scrolling over the window never changes a step's heat by accident.
class WheelNeedsFocus final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Which controls a status leaves enabled, and whether its text is red.
struct StatusLook {
    bool check;
    bool heat;
    bool fanAndTime;
    bool red;
};

StatusLook LookOf(uint32_t status) {
    switch (status) {
    case StepWaiting: return {true, true, true, false};
    case StepRunning: return {false, false, false, true};
    case CoolWaiting: return {false, false, true, false};
    case CoolRunning: return {false, false, false, true};
    default: return {false, false, false, false};
    }
}

// The next text of a progress animation: no dot, one, two, three dots in
// turn, the counter going 1, 2, 3 and then back to 0.
QString ProgressText(const char* word, float minutes, int& counter, const char* const (&endings)[4]) {
    ++counter;
    int dots = 3;
    if (counter >= 1 && counter <= 3) {
        dots = counter - 1;
    } else {
        counter = 0;
    }
    return QString::asprintf("%s %0.1f", word, minutes) + QLatin1String(endings[dots]);
}

const char* const kRunEndings[4] = {"min    ", "min.   ", "min..  ", "min... "};
const char* const kCoolEndings[4] = {"min   ", "min.  ", "min.. ", "min..."};

QString HeatWord(int32_t heat, uint32_t status) {
    if (IsCoolingStatus(status) || heat == 0) return QStringLiteral("COOL");
    switch (heat) {
    case 1: return QStringLiteral("LOW");
    case 2: return QStringLiteral("MID");
    case 3: return QStringLiteral("HIGH");
    default: return QStringLiteral("ERR");
    }
}
}  // namespace

STEP_PART::STEP_PART() = default;

STEP_PART::~STEP_PART() { delete window_.data(); }

void STEP_PART::ConfigureFields(const NumEditLimits& time, const NumEditLimits& fan) {
    timeLimits_ = time;
    fanLimits_ = fan;
    if (Exists()) {
        m_timeEdit->SetLimits(time);
        m_fanEdit->SetLimits(fan);
    }
}

void STEP_PART::Create(QWidget* parent, float scale, DotCounters& dots) {
    delete window_.data();
    dots_ = &dots;
    const auto du = [scale](int units) { return DialogUnits(units, scale); };

    auto* row = new QFrame(parent);
    window_ = row;
    row->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    row->setLineWidth(1);
    row->resize(du(222), du(20));

    m_check = new QCheckBox(row);
    m_check->setObjectName(QStringLiteral("check"));
    m_check->setGeometry(du(6), du(7), du(8), du(8));

    m_numberLabel = new QLabel(QStringLiteral("1."), row);
    m_numberLabel->setObjectName(QStringLiteral("number"));
    m_numberLabel->setGeometry(du(17), du(7), du(12), du(8));

    m_fanEdit = new CNumEdit(row);
    m_fanEdit->setObjectName(QStringLiteral("fan"));
    m_fanEdit->setGeometry(du(31), du(5), du(25), du(12));
    m_fanEdit->SetLimits(fanLimits_);

    m_fanSpin = new UpDownControl(row);
    m_fanSpin->setGeometry(du(55), du(4), du(9), du(13));

    m_timeEdit = new CNumEdit(row);
    m_timeEdit->setObjectName(QStringLiteral("time"));
    m_timeEdit->setGeometry(du(79), du(5), du(25), du(12));
    m_timeEdit->SetLimits(timeLimits_);

    m_timeSpin = new UpDownControl(row);
    m_timeSpin->setGeometry(du(103), du(4), du(9), du(13));

    m_heatList = new QComboBox(row);
    m_heatList->setObjectName(QStringLiteral("heat"));
    m_heatList->addItems({QStringLiteral("LOW"), QStringLiteral("MID"), QStringLiteral("HIGH"), QStringLiteral("COOL")});
    m_heatList->setCurrentIndex(-1);
    m_heatList->setGeometry(du(126), du(5), du(34), du(12));
    m_heatList->setFocusPolicy(Qt::StrongFocus);
    m_heatList->installEventFilter(new WheelNeedsFocus(m_heatList));

    m_statusLabel = new QLabel(QStringLiteral("Complete"), row);
    m_statusLabel->setObjectName(QStringLiteral("status"));
    m_statusLabel->setGeometry(du(172), du(6), du(50), du(8));
    ShowHighlight();

    QObject::connect(m_check, &QCheckBox::clicked, row, [this] { m_selected = m_selected ? 0 : 1; });
    QObject::connect(m_heatList, &QComboBox::activated, row, [this] { OnHeatChosen(); });
    QObject::connect(m_fanSpin, &UpDownControl::DeltaPos, row, [this](int delta) { OnFanStep(delta); });
    QObject::connect(m_timeSpin, &UpDownControl::DeltaPos, row, [this](int delta) { OnTimeStep(delta); });
}

void STEP_PART::SetStep(uint32_t index, int32_t fan, int32_t time, int32_t heat, uint32_t status) {
    m_numberText = status < CoolWaiting ? QString::asprintf("%u.", index) : QStringLiteral("end");

    m_fan = fan;
    m_time = stepvalues::TenthsToMinutes(time);
    m_timeText = QString::asprintf("%0.1f", m_time);
    if (Exists()) {
        m_fanSpin->SetRange(1, 9);
        m_fanEdit->setText(QString::number(fan));
        m_fanEdit->SetValue(static_cast<float>(fan));
        m_timeEdit->setText(m_timeText);
        m_timeEdit->setFocus();
        m_timeEdit->SetValue(m_time);
    }

    m_heat = heat;
    m_heatText = HeatWord(heat, status);
    m_status = status;
    ApplyStatus();
    WriteControls();
}

void STEP_PART::ApplyStatus() {
    switch (m_status) {
    case StepWaiting: m_statusText = QStringLiteral("     Wait          "); break;
    case StepRunning: m_statusText = ProgressText("RUN", m_elapsed, dots_->run, kRunEndings); break;
    case StepCompleted: m_statusText = QStringLiteral("Completed       "); break;
    case CoolWaiting: m_statusText = QStringLiteral("     COOL           "); break;
    case CoolRunning: m_statusText = ProgressText("COOL", m_elapsed, dots_->cool, kCoolEndings); break;
    case StepEnd: m_statusText = QStringLiteral("STEP  END         "); break;
    default:
        m_statusText = m_status < CoolWaiting ? QStringLiteral("  ERR           ") : QStringLiteral("  ERR              ");
        break;
    }
    const StatusLook look = LookOf(m_status);
    m_highlight = look.red ? 1 : 0;
    if (!Exists()) return;
    m_check->setEnabled(look.check);
    m_heatList->setEnabled(look.heat);
    m_fanEdit->setEnabled(look.fanAndTime);
    m_fanSpin->setEnabled(look.fanAndTime);
    m_timeEdit->setEnabled(look.fanAndTime);
    m_timeSpin->setEnabled(look.fanAndTime);
    ShowHighlight();
}

void STEP_PART::ShowHighlight() {
    QPalette palette = m_statusLabel->palette();
    palette.setColor(QPalette::WindowText, m_highlight ? QColor(255, 0, 0) : QColor(0, 0, 0));
    m_statusLabel->setPalette(palette);
}

void STEP_PART::ReadControls() {
    if (!Exists()) return;
    m_selected = m_check->isChecked() ? 1 : 0;
    m_numberText = m_numberLabel->text();
    m_heatText = m_heatList->currentText();
    m_statusText = m_statusLabel->text();
}

void STEP_PART::WriteControls() {
    if (!Exists()) return;
    m_check->setChecked(m_selected != 0);
    m_numberLabel->setText(m_numberText);
    if (m_heatText != QLatin1String("ERR")) {
        const int item = m_heatList->findText(m_heatText, Qt::MatchStartsWith);
        if (item >= 0) m_heatList->setCurrentIndex(item);
    }
    m_statusLabel->setText(m_statusText);
}

void STEP_PART::Commit() {
    if (!Exists()) return;
    m_time = m_timeEdit->Value();
    m_fan = static_cast<int32_t>(m_fanEdit->Value());
}

void STEP_PART::SetSelected(bool selected) {
    m_selected = selected ? 1 : 0;
    if (Exists()) m_check->setChecked(selected);
}

bool STEP_PART::CheckEnabled() const { return Exists() && m_check->isEnabledTo(window_); }

bool STEP_PART::TimeEnabled() const { return Exists() && m_timeEdit->isEnabledTo(window_); }

void STEP_PART::OnHeatChosen() {
    ReadControls();
    if (m_heatText == QLatin1String("MID")) {
        m_heat = 2;
    } else if (m_heatText == QLatin1String("LOW")) {
        m_heat = 1;
    } else if (m_heatText == QLatin1String("HIGH")) {
        m_heat = 3;
    } else if (m_heatText == QLatin1String("COOL")) {
        m_heat = 0;
    }
    WriteControls();
}

void STEP_PART::OnFanStep(int delta) {
    const int fan = stepvalues::StepFan(stepvalues::LeadingInteger(m_fanEdit->text()), delta);
    m_fan = fan;
    m_fanEdit->setText(QString::number(fan));
    m_fanEdit->setFocus();
}

void STEP_PART::OnTimeStep(int delta) {
    m_time = static_cast<float>(stepvalues::LeadingNumber(m_timeEdit->text()));
    if (delta == -1 || delta == 1) {
        m_time = stepvalues::StepTime(m_time, delta, m_timeEdit->Limits().max);
        m_timeEdit->setText(QString::asprintf("%0.1f", m_time));
    }
    m_timeEdit->setFocus();
}
