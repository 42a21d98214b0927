// What the curve window says of the roaster's model: what it rests on and
// how well it foresees, what it foresees of the current profile before a
// roast and of the rest of a roast during one, and how near a planned
// program is expected to come. Temperatures in the panel's unit.
#pragma once

#include <optional>
#include <string>

#include "forecast.h"
#include "learnt_roaster.h"

// "Roaster model: 14 roasts, predicts them within 4 °F"; with too few,
// "Roaster model: 2 roasts of at least 5 minutes on this roaster; it needs 3"
// (and "learning…" while it is fitted, "none yet" before it was read).
std::string ModelStatusText(const LearntRoaster* learnt, bool learning, bool celsius);

// Before a roast: "This profile: first crack at about 8:05, about 402 °F at
// the drop (9:00)", or, when the beans do not reach first crack by the
// drop, "This profile: no first crack by the drop, about 372 °F at 9:00".
std::string ProfileForecastText(const Forecast& forecast, bool celsius);

// During a roast: "First crack in about 1:20   At the drop: about 418 °F";
// after first crack, the drop alone.
std::string LiveForecastText(const Forecast& forecast, bool celsius);

// Where first crack is taken to come: "First crack taken at 392 °F: the
// mean of your 6 first crack marks for Kenya AA" (or "of your 14 first
// crack marks", or "390 °F, as no first crack has been marked yet").
std::string FirstCrackSourceText(const FirstCrackTemperature& crack, const std::string& bean, bool celsius);

// "Planned program: 9 steps, expected within 2.1 °F of the roast
// planned for."
std::string PlanText(int steps, double rms_f, bool celsius);
