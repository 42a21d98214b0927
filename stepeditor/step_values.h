// The numbers of the step editor's fields: reading a field's text as a
// number, formatting a value for a field, converting a step's time between
// the record (tenths of a minute) and a row (minutes), and the steps of the
// FAN and TIME spinners.
#pragma once

#include <QString>
#include <cstdint>

namespace stepvalues {

// The leading numeric part of a text ("5.9" 5.9, "7x" 7, ".5" 0.5), 0 when
// the text starts with no number. Independent of the user's locale.
double LeadingNumber(const QString& text);

// The leading integer of a text (leading digits, 0 when there are none),
// saturated to the int range.
int LeadingInteger(const QString& text);

// "%0.1f" of the value for a decimal field, "%d" of the value truncated to
// an integer for an integer field.
QString FormatValue(double value, bool decimal);

// A value cut to one decimal place: (value x 10, truncated) x 0.1.
double CutToTenths(double value);

// A step's time as a row holds it: tenths x 0.1 + 0.02 minutes. The small
// addition keeps a value that is loaded and stored again unchanged.
float TenthsToMinutes(int32_t tenths);

// A row's time stored back into a step record: minutes x 10 + 0.01,
// truncated.
int32_t MinutesToTenths(float minutes);

// The time of a step that Append copies from a row: minutes x 10 + 0.001,
// truncated.
int32_t MinutesToTenthsForCopy(float minutes);

// The TIME spinner: `delta` -1 (its up arrow) adds one tenth of a minute up
// to `upper`; +1 (its down arrow) takes one tenth away but never goes below
// 0.1. Works in whole tenths, so every press moves the value by exactly 0.1.
// Any other delta returns the value read.
float StepTime(double shown, int delta, float upper);

// The FAN spinner: +1 adds one below 9, -1 takes one away above 1; any other
// delta leaves the value.
int StepFan(int value, int delta);

}  // namespace stepvalues
