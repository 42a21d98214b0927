// What the console has learnt of the user's roaster from their saved roasts:
// the roaster's model (roaster_fit.h) fitted to the roasts made on it, how
// well it foresees a roast it was not fitted to, and the user's first crack
// marks. With too few roasts it has no model, and says how many it has.
//
// It is kept as a small text file beside the roasts folder, so the console
// need not fit it again at every start; the file is derived: deleted, or
// written by another version, it is simply fitted again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bean_prediction.h"
#include "roast_log.h"
#include "roaster_fit.h"

// A roaster's model needs this many roasts of at least
// kShortestModelRoastSeconds of heating, and learns from the newest
// kMostModelRoasts of them.
constexpr int kLeastModelRoasts = 3;
constexpr int kMostModelRoasts = 36;
constexpr double kShortestModelRoastSeconds = 300.0;
// How well it foresees roasts is measured on this many of the newest,
// each held out of a fit of the others.
constexpr int kHeldOutRoasts = 6;

// A first crack the user marked: on which beans (empty: not said), and at
// what bean temperature.
struct FirstCrackMark {
    std::string bean;
    double bean_f = 0;
    bool operator==(const FirstCrackMark& o) const { return bean == o.bean && bean_f == o.bean_f; }
};

struct LearntRoaster {
    std::string roaster;  // the roaster it is of: the logs' "roaster"
    int roasts = 0;       // roasts it rests on
    // The model, once there are kLeastModelRoasts roasts; the usual batch.
    std::optional<BatchModel> model;
    // How far it foresees a roast held out of its fit, from 1:00 to the
    // drop, °F RMS.
    std::optional<double> held_out_rms_f;
    // The first crack marks of the roaster's roasts, newest first.
    std::vector<FirstCrackMark> first_cracks;
    // What the roasts were (their files, sizes and times): the model is
    // fitted again when they change.
    std::string roasts_key;

    bool Predicts() const { return model.has_value(); }
};

// The heating of `log` as the model learns from it; none when it does
// not do: it heated less than kShortestModelRoastSeconds, its file does
// not say the heat and fan, or it has no first reading.
std::optional<RoastForFit> ModelRoastOf(const RoastLog& log);

// Learns `roaster` from `logs`, its roasts newest first (those that do not
// do are passed over, and only the newest kMostModelRoasts that do are
// used).
LearntRoaster LearnRoaster(const std::vector<RoastLog>& logs, std::string roaster);

// The temperature first crack is taken to come at: the mean of the marks
// on `bean` when there are some, else of all the marks, else
// kDefaultFirstCrackF; `marks` says how many it rests on and `of_bean`
// whether they were of that bean.
struct FirstCrackTemperature {
    double bean_f = kDefaultFirstCrackF;
    int marks = 0;
    bool of_bean = false;
};
FirstCrackTemperature FirstCrackFor(const std::vector<FirstCrackMark>& marks, const std::string& bean);

// The file's text, and reading it back; none when the text is not a model
// file of this version (it is then fitted again).
std::string LearntRoasterText(const LearntRoaster& learnt);
std::optional<LearntRoaster> ParseLearntRoaster(const std::string& text);
