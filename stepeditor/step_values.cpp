#include "step_values.h"

#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>

namespace stepvalues {

namespace {
bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int SkipSpaces(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    return i;
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

double LeadingNumber(const QString& text) {
    int i = SkipSpaces(text);
    QString number;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-')) number += QLatin1Char('-');
        ++i;
    }
    QString whole;
    while (i < text.size() && IsAsciiDigit(text[i])) whole += text[i++];
    QString fraction;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && IsAsciiDigit(text[i])) fraction += text[i++];
    }
    if (whole.isEmpty() && fraction.isEmpty()) return 0.0;
    number += whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty()) number += QLatin1Char('.') + fraction;
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok ? value : 0.0;
}

int LeadingInteger(const QString& text) {
    int i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

QString FormatValue(double value, bool decimal) {
    if (decimal) return QString::asprintf("%0.1f", value);
    return QString::number(TruncateToInt(value));
}

double CutToTenths(double value) { return std::trunc(value * 10.0) * 0.1; }

float TenthsToMinutes(int32_t tenths) { return static_cast<float>(tenths * 0.1 + 0.02); }

int32_t MinutesToTenths(float minutes) { return TruncateToInt(minutes * 10.0 + 0.01); }

int32_t MinutesToTenthsForCopy(float minutes) { return TruncateToInt(minutes * 10.0 + 0.001); }

float StepTime(double shown, int delta, float upper) {
    if (delta != -1 && delta != 1) return static_cast<float>(shown);
    // The shown value always has one decimal; count in whole tenths.
    long tenths = std::lround(std::fmin(std::fmax(shown, -1e6), 1e6) * 10.0);
    const long top = std::lround(upper * 10.0);
    if (delta == -1) {
        tenths = std::min(tenths + 1, top);
    } else {
        if (tenths > 0) --tenths;
        if (tenths < 1) tenths = 1;
    }
    return static_cast<float>(tenths / 10.0);
}

int StepFan(int value, int delta) {
    if (delta == 1 && value < 9) return value + 1;
    if (delta == -1 && value > 1) return value - 1;
    return value;
}

}  // namespace stepvalues
