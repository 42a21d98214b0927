// The colours of the roast curve, shared by its plot and its legend.
#pragma once

#include <QColor>

namespace curve_colour {
inline const QColor kHeating(204, 40, 32);
inline const QColor kCooling(32, 96, 208);
inline const QColor kRate(0, 128, 96);
inline const QColor kStepMark(110, 110, 110);
inline const QColor kCoolingBand(32, 96, 208, 28);
inline const QColor kEvent(120, 50, 150);
// The background roast: the same colours, pale.
inline const QColor kBackgroundHeating(236, 170, 164);
inline const QColor kBackgroundCooling(166, 190, 234);
inline const QColor kBackgroundRate(150, 206, 186);
inline const QColor kBackgroundMark(190, 160, 206);
// What the roaster's model foresees.
inline const QColor kForecast(70, 70, 150);
}  // namespace curve_colour
