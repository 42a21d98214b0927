#include "phase_bar.h"

#include <QPainter>
#include <cmath>

namespace {

const QColor kEmptyColour(232, 232, 232);

struct PhaseLook {
    const char* name;
    const char* short_name;
    QColor fill;
    QColor text;
};
const PhaseLook kLooks[] = {{"Drying", "Dry", QColor(150, 190, 90), Qt::black},
                            {"Maillard", "Mail.", QColor(226, 178, 74), Qt::black},
                            {"Development", "Dev.", QColor(135, 82, 42), Qt::white}};

const PhaseLook& LookOf(const std::string& name) {
    for (const PhaseLook& look : kLooks)
        if (name == look.name) return look;
    return kLooks[0];
}

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

PhaseBar::PhaseBar(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setToolTip(QStringLiteral("Drying: start to dry end. Maillard: dry end to first crack. "
                              "Development: first crack to the drop. DTR: the development's share of the roast."));
    SetPhases(std::nullopt);
}

void PhaseBar::SetPhases(const std::optional<RoastPhases>& phases) {
    phases_ = phases;
    std::vector<PhaseSegment> segments;
    if (phases) segments = PhaseSegments(*phases);
    const QString ratio = phases ? FromStd(DevelopmentRatioText(*phases)) : QString();
    // The durations change once a second; the samples come twice as often.
    auto same = [](const PhaseSegment& a, const PhaseSegment& b) {
        return a.name == b.name && a.figures == b.figures && std::abs(a.from - b.from) < 1e-3 &&
               std::abs(a.to - b.to) < 1e-3;
    };
    if (ratio == ratio_ && std::equal(segments.begin(), segments.end(), segments_.begin(), segments_.end(), same))
        return;
    segments_ = std::move(segments);
    ratio_ = ratio;
    update();
}

QStringList PhaseBar::texts() const {
    QStringList texts;
    for (const PhaseSegment& s : segments_) texts << FromStd(s.name + " " + s.figures);
    texts << ratio_;
    return texts;
}

QSize PhaseBar::sizeHint() const { return {400, fontMetrics().height() + 10}; }

QSize PhaseBar::minimumSizeHint() const { return {100, sizeHint().height()}; }

void PhaseBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics bold_metrics(bold);
    const int ratio_width = bold_metrics.horizontalAdvance(QStringLiteral("DTR 100.0 %")) + 12;
    const QRect bar = rect().adjusted(0, 2, -ratio_width, -2);
    p.fillRect(bar, kEmptyColour);

    if (phases_ && segments_.empty()) {
        p.setPen(QColor(90, 90, 90));
        p.drawText(bar.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("Phases: mark the dry end and the first crack"));
    }
    for (const PhaseSegment& s : segments_) {
        const PhaseLook& look = LookOf(s.name);
        const int left = bar.left() + static_cast<int>(std::lround(s.from * bar.width()));
        const int right = bar.left() + static_cast<int>(std::lround(s.to * bar.width()));
        const QRect cell(left, bar.top(), std::max(1, right - left), bar.height());
        p.fillRect(cell, look.fill);
        // The longest text that fits: with the name, with it shortened,
        // without it, the share alone.
        const QString figures = FromStd(s.figures);
        const QString share = figures.mid(figures.lastIndexOf(QChar(0x00b7)) + 1).trimmed();
        const QRect room = cell.adjusted(4, 0, -4, 0);
        for (const QString& text : {FromStd(s.name) + QStringLiteral("  ") + figures,
                                    QLatin1String(look.short_name) + QStringLiteral("  ") + figures, figures, share}) {
            if (fontMetrics().horizontalAdvance(text) <= room.width()) {
                p.setPen(look.text);
                p.drawText(room, Qt::AlignCenter, text);
                break;
            }
        }
    }
    p.setFont(bold);
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(bar.right() + 1, 0, ratio_width, height()), Qt::AlignVCenter | Qt::AlignRight, ratio_);
}
