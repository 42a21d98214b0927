// The roaster's notes on a roast: the beans, their green and roasted
// weights in grams (and so the weight loss) and free text. A log keeps them
// as header lines "bean", "green_g", "roasted_g", "weight_loss" and
// "notes"; the free text keeps its line breaks as "\n" (and a backslash as
// "\\") so it stays on its one line.
#pragma once

#include <optional>
#include <string>

#include "roast_log.h"

struct RoastNotes {
    std::string bean;
    std::optional<double> green_g;
    std::optional<double> roasted_g;
    std::string text;

    bool operator==(const RoastNotes& o) const {
        return bean == o.bean && green_g == o.green_g && roasted_g == o.roasted_g && text == o.text;
    }
    // Percent of the green weight lost in the roast, when both are known.
    std::optional<double> WeightLoss() const;
};

inline const std::string kBeanKey = "bean";
inline const std::string kGreenKey = "green_g";
inline const std::string kRoastedKey = "roasted_g";
inline const std::string kWeightLossKey = "weight_loss";
inline const std::string kNotesKey = "notes";

// A weight as typed: a positive number of grams (a point or a comma before
// the decimals); none for anything else.
std::optional<double> ParseWeight(const std::string& text);
// "250" or "212.5".
std::string WeightText(double grams);

RoastNotes NotesOf(const RoastLog& log);
// Sets the notes' header lines; empty ones are removed.
void WriteNotes(RoastLog& log, const RoastNotes& notes);

std::string EscapeNotes(const std::string& text);
std::string UnescapeNotes(const std::string& value);

// What is wrong with a header line the console reads (an event, a weight);
// empty when it is good or not one the console reads.
std::string HeaderValueProblem(const RoastHeaderLine& line);
