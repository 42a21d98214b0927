#include "roast_notes.h"

#include "roast_marks.h"
#include "roast_numbers.h"

std::optional<double> RoastNotes::WeightLoss() const {
    if (!green_g || !roasted_g || *green_g <= 0) return std::nullopt;
    return (*green_g - *roasted_g) / *green_g * 100.0;
}

std::optional<double> ParseWeight(const std::string& typed) {
    std::string text;
    for (char ch : typed) {
        if (ch == ' ') continue;
        text += ch == ',' ? '.' : ch;
    }
    double grams = 0;
    if (!ParseDecimal(text, 0, 1e6, grams) || grams <= 0) return std::nullopt;
    return grams;
}

std::string WeightText(double grams) {
    const std::string text = OneDecimal(grams);
    return text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0 ? text.substr(0, text.size() - 2) : text;
}

std::string EscapeNotes(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\n')
            out += "\\n";
        else if (ch != '\r')
            out += ch;
    }
    return out;
}

std::string UnescapeNotes(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == '\\')) {
            out += value[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

RoastNotes NotesOf(const RoastLog& log) {
    RoastNotes notes;
    notes.bean = log.Get(kBeanKey);
    notes.green_g = ParseWeight(log.Get(kGreenKey));
    notes.roasted_g = ParseWeight(log.Get(kRoastedKey));
    notes.text = UnescapeNotes(log.Get(kNotesKey));
    return notes;
}

void WriteNotes(RoastLog& log, const RoastNotes& notes) {
    auto put = [&](const std::string& key, const std::string& value) {
        if (value.empty())
            log.Remove(key);
        else
            log.Set(key, value);
    };
    put(kBeanKey, notes.bean);
    put(kGreenKey, notes.green_g ? WeightText(*notes.green_g) : std::string());
    put(kRoastedKey, notes.roasted_g ? WeightText(*notes.roasted_g) : std::string());
    const std::optional<double> loss = notes.WeightLoss();
    put(kWeightLossKey, loss ? OneDecimal(*loss) + "%" : std::string());
    put(kNotesKey, EscapeNotes(notes.text));
}

std::string HeaderValueProblem(const RoastHeaderLine& line) {
    if (line.key == kEventKey) {
        RoastMark mark;
        bool undone = false;
        if (!ParseEventValue(line.value, mark, undone)) return "bad event \"" + line.value + "\"";
    } else if (line.key == kGreenKey || line.key == kRoastedKey) {
        if (!line.value.empty() && !ParseWeight(line.value)) return "bad weight \"" + line.value + "\"";
    }
    return {};
}
