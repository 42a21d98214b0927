// The bar under the roast curve: drying, Maillard and development as
// coloured segments in proportion to their time, each with its duration and
// share, and the development time ratio beside them.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "curve_text.h"
#include "roast_phases.h"

class PhaseBar : public QWidget {
public:
    explicit PhaseBar(QWidget* parent = nullptr);

    // The phases to show; none shows an empty bar. Repaints only when
    // what the bar says changed.
    void SetPhases(const std::optional<RoastPhases>& phases);
    const std::optional<RoastPhases>& phases() const { return phases_; }
    // What it says (tests): each segment's name and figures, and the ratio.
    QStringList texts() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<RoastPhases> phases_;
    std::vector<PhaseSegment> segments_;
    QString ratio_;
};
