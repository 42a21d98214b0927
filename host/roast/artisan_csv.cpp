#include "artisan_csv.h"

#include <charconv>
#include <cmath>

#include "artisan_dates.h"
#include "artisan_roast.h"

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char ch : line) {
        if (ch == '\t')
            fields.emplace_back();
        else
            fields.back() += ch;
    }
    // Python's csv writer quotes a field only when it must.
    for (std::string& f : fields) {
        const std::size_t from = f.find_first_not_of(' ');
        f = from == std::string::npos ? std::string() : f.substr(from, f.find_last_not_of(' ') - from + 1);
        if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
    }
    return fields;
}

bool Whole(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

// "mm:ss" or "h:mm:ss" as seconds; false for anything else.
bool Seconds(const std::string& text, double& seconds) {
    const bool negative = !text.empty() && text[0] == '-';
    std::string rest = negative ? text.substr(1) : text;
    int parts[3] = {0, 0, 0};
    int count = 0;
    for (std::size_t from = 0;;) {
        const std::size_t colon = rest.find(':', from);
        if (count == 3 ||
            !Whole(rest.substr(from, colon == std::string::npos ? std::string::npos : colon - from), parts[count]))
            return false;
        ++count;
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    if (count < 2 || parts[count - 1] > 59 || (count == 3 && parts[1] > 59)) return false;
    const double value = count == 2 ? parts[0] * 60.0 + parts[1] : parts[0] * 3600.0 + parts[1] * 60.0 + parts[2];
    seconds = negative ? -value : value;
    return true;
}

bool Number(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// The index of the sample nearest `seconds`.
int Nearest(const std::vector<double>& times, double seconds) {
    int best = 0;
    for (std::size_t i = 1; i < times.size(); ++i)
        if (std::abs(times[i] - seconds) < std::abs(times[static_cast<std::size_t>(best)] - seconds))
            best = static_cast<int>(i);
    return best;
}

}  // namespace

bool IsArtisanCsvStart(const std::string& first_line) {
    return first_line.rfind("Date:", 0) == 0 && first_line.find('\t') != std::string::npos &&
           first_line.find("Unit:") != std::string::npos;
}

RoastLogParse ParseArtisanCsv(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find('\0') != std::string::npos)
            return RoastLogRefused(static_cast<int>(lines.size()) + 1, "not a text line");
        lines.push_back(std::move(line));
        at = end + 1;
    }
    if (lines.empty() || !IsArtisanCsvStart(lines[0]))
        return RoastLogRefused(1, "not Artisan's CSV: no \"Date:\" and \"Unit:\" line");

    ArtisanRoast roast;
    roast.program = "Artisan";
    std::string marks[11];  // CHARGE, TP, DRYe, FCs, FCe, SCs, SCe, DROP, COOL, Date, Time
    const char* const names[] = {"CHARGE", "TP", "DRYe", "FCs", "FCe", "SCs", "SCe", "DROP", "COOL", "Date", "Time"};
    std::string unit;
    for (const std::string& field : Fields(lines[0])) {
        const std::size_t colon = field.find(':');
        if (colon == std::string::npos) continue;
        const std::string key = field.substr(0, colon), value = field.substr(colon + 1);
        if (key == "Unit") unit = value;
        for (std::size_t i = 0; i < 11; ++i)
            if (key == names[i]) marks[i] = value;
    }
    if (unit != "C" && unit != "F")
        return RoastLogRefused(1, "Artisan's CSV without its unit (\"Unit:C\" or \"Unit:F\")");
    roast.celsius = unit == "C";
    // "08.12.2026" and "14:03".
    const std::string& date = marks[9];
    if (date.size() == 10 && date[2] == '.' && date[5] == '.')
        roast.recording_start =
            ParseDateAndTime(date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2), marks[10]);

    if (lines.size() < 2) return RoastLogRefused(2, "Artisan's CSV without its column line");
    const std::vector<std::string> columns = Fields(lines[1]);
    std::size_t time_column = columns.size(), bean_column = columns.size();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c] == "Time1") time_column = c;
        if (columns[c] == "BT") bean_column = c;
    }
    if (time_column == columns.size() || bean_column == columns.size())
        return RoastLogRefused(2, "Artisan's CSV without its \"Time1\" and \"BT\" columns");
    for (std::size_t l = 2; l < lines.size(); ++l) {
        if (lines[l].empty()) continue;
        const int number = static_cast<int>(l) + 1;
        const std::vector<std::string> row = Fields(lines[l]);
        if (row.size() <= std::max(time_column, bean_column))
            return RoastLogRefused(number, "a row without its time or BT");
        double seconds = 0, bean = 0;
        if (!Seconds(row[time_column], seconds))
            return RoastLogRefused(number, "bad time \"" + row[time_column] + "\"");
        const std::string& bt = row[bean_column];
        const bool reading = !(bt.empty() || bt == "None" || bt == "nan");
        if (reading && !Number(bt, bean)) return RoastLogRefused(number, "bad BT \"" + bt + "\"");
        // A row of the same second again: Artisan keeps the first.
        if (!roast.times.empty() && seconds <= roast.times.back()) continue;
        roast.times.push_back(seconds);
        roast.bean.push_back(reading && bean != -1.0 ? std::optional<double>(bean) : std::nullopt);
    }

    // The marks at the samples nearest their times.
    if (!roast.times.empty()) {
        double at = 0;
        if (!marks[0].empty() && Seconds(marks[0], at) && at >= 0) roast.charge = Nearest(roast.times, at);
        const std::size_t fields[] = {2, 3, 4, 5, 6, 7, 8};  // DRYe ... COOL
        for (std::size_t k = 0; k < 7; ++k)
            if (Seconds(marks[fields[k]], at) && at > 0) roast.marks[k] = Nearest(roast.times, at);
    }
    return RoastLogFromArtisan(roast);
}
