#include "python_literal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsNameStart(unsigned char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' || ch >= 0x80;
}
bool IsNameChar(unsigned char ch) { return IsNameStart(ch) || IsDigit(static_cast<char>(ch)); }

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;  // a lone surrogate has no UTF-8
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the UTF-8 character at `at`, or 0 when the bytes there are
// not one.
std::size_t Utf8Length(const std::string& s, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(s[at]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(s[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

class Reader {
public:
    Reader(const std::string& text, const PyLimits& limits) : s_(text), limits_(limits) {}

    PyParse Parse() {
        PyParse out;
        // A byte order mark, as an editor may leave it.
        if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) at_ = 3;
        SkipSpace();
        if (Value(out.value, 0)) {
            SkipSpace();
            if (at_ < s_.size()) Fail("more text after the value");
        }
        if (!problem_.empty()) {
            out.line = line_;
            out.problem = problem_;
            out.value = PyValue{};
            return out;
        }
        out.ok = true;
        return out;
    }

private:
    bool Fail(const std::string& problem) {
        if (problem_.empty()) problem_ = problem;
        return false;
    }
    char Peek(std::size_t ahead = 0) const { return at_ + ahead < s_.size() ? s_[at_ + ahead] : '\0'; }
    bool AtEnd() const { return at_ >= s_.size(); }
    void Advance() {
        if (s_[at_] == '\n') ++line_;
        ++at_;
    }

    // Spaces, line ends, comments and backslash line continuations.
    void SkipSpace() {
        while (!AtEnd()) {
            const char ch = Peek();
            if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f') {
                Advance();
            } else if (ch == '#') {
                while (!AtEnd() && Peek() != '\n') Advance();
            } else if (ch == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n'))) {
                Advance();
            } else {
                return;
            }
        }
    }

    bool Count() {
        if (++values_ > limits_.values)
            return Fail("too many values (more than " + std::to_string(limits_.values) + ")");
        return true;
    }

    bool Value(PyValue& out, std::size_t depth) {
        if (!Count()) return false;
        if (AtEnd()) return Fail("the text ends where a value belongs");
        const char ch = Peek();
        if (ch == '{' || ch == '[' || ch == '(') {
            if (depth >= limits_.depth) return Fail("values nested too deeply");
            if (ch == '{') return Dict(out, depth + 1);
            return Sequence(out, depth + 1);
        }
        if (ch == '\'' || ch == '"') return Strings(out);
        if (ch == '-' || ch == '+' || ch == '.' || IsDigit(ch)) return SignedNumber(out);
        if (IsNameStart(static_cast<unsigned char>(ch))) return Name(out);
        return Fail(std::string("\"") + ch + "\" where a value belongs");
    }

    bool Name(PyValue& out) {
        const std::size_t from = at_;
        while (!AtEnd() && IsNameChar(static_cast<unsigned char>(Peek()))) Advance();
        const std::string name = s_.substr(from, at_ - from);
        // A string prefix: u'...' and r'...' are strings; b'...' and f'...' are not literals read here.
        if ((Peek() == '\'' || Peek() == '"') && name.size() == 1) {
            if (name == "u" || name == "U" || name == "r" || name == "R") {
                at_ = from;
                return Strings(out);
            }
            return Fail("a " + name + "-string where a value belongs");
        }
        if (name == "True" || name == "False") {
            out.kind = PyValue::Kind::Bool;
            out.flag = name == "True";
            return true;
        }
        if (name == "None") {
            out.kind = PyValue::Kind::None;
            return true;
        }
        SkipSpace();
        if (Peek() == '(') return Fail("a call of " + name.substr(0, 40) + " where a value belongs");
        return Fail("the name " + name.substr(0, 40) + " where a value belongs");
    }

    // Containers. `close` ends them; items are separated by commas, a
    // trailing comma allowed.
    bool Sequence(PyValue& out, std::size_t depth) {
        const char open = Peek();
        const char close = open == '[' ? ']' : ')';
        Advance();
        out.kind = open == '[' ? PyValue::Kind::List : PyValue::Kind::Tuple;
        bool comma_seen = false;
        SkipSpace();
        while (Peek() != close) {
            if (AtEnd()) return Fail(std::string("no closing ") + close);
            out.items.emplace_back();
            if (!Value(out.items.back(), depth)) return false;
            SkipSpace();
            if (AtEnd()) return Fail(std::string("no closing ") + close);
            if (Peek() == ',') {
                comma_seen = true;
                Advance();
                SkipSpace();
            } else if (Peek() != close) {
                return Fail(std::string("expected , or ") + close);
            }
        }
        Advance();
        // "(5)" is 5, not a tuple.
        if (open == '(' && out.items.size() == 1 && !comma_seen) {
            PyValue inner = std::move(out.items.front());
            out = std::move(inner);
        }
        return true;
    }

    bool Dict(PyValue& out, std::size_t depth) {
        Advance();
        out.kind = PyValue::Kind::Dict;
        SkipSpace();
        while (Peek() != '}') {
            if (AtEnd()) return Fail("no closing }");
            out.items.emplace_back();
            if (!Value(out.items.back(), depth)) return false;
            SkipSpace();
            if (Peek() != ':')
                return Fail(out.items.size() == 1 && (Peek() == ',' || Peek() == '}') ? "a set where a value belongs"
                                                                                      : "expected : after a key");
            Advance();
            SkipSpace();
            out.items.emplace_back();
            if (!Value(out.items.back(), depth)) return false;
            const PyValue::Kind key = out.items[out.items.size() - 2].kind;
            if (key == PyValue::Kind::List || key == PyValue::Kind::Dict)
                return Fail("a list or a dictionary as a key");
            SkipSpace();
            if (AtEnd()) return Fail("no closing }");
            if (Peek() == ',') {
                Advance();
                SkipSpace();
            } else if (Peek() != '}') {
                return Fail("expected , or }");
            }
        }
        Advance();
        return true;
    }

    // One or more string literals next to each other, joined.
    bool Strings(PyValue& out) {
        out.kind = PyValue::Kind::Str;
        for (;;) {
            if (!OneString(out.text)) return false;
            const std::size_t before = at_;
            const int line_before = line_;
            SkipSpace();
            char ch = Peek();
            if ((ch == 'u' || ch == 'U' || ch == 'r' || ch == 'R') && (Peek(1) == '\'' || Peek(1) == '"')) ch = Peek(1);
            if (ch != '\'' && ch != '"') {
                at_ = before;
                line_ = line_before;
                return true;
            }
        }
    }

    bool OneString(std::string& out) {
        bool raw = false;
        if (Peek() == 'r' || Peek() == 'R') {
            raw = true;
            Advance();
        } else if (Peek() == 'u' || Peek() == 'U') {
            Advance();
        }
        const char quote = Peek();
        const bool triple = Peek(1) == quote && Peek(2) == quote;
        for (int i = 0; i < (triple ? 3 : 1); ++i) Advance();
        for (;;) {
            if (AtEnd()) return Fail("a string without its closing quote");
            const char ch = Peek();
            if (ch == quote && (!triple || (Peek(1) == quote && Peek(2) == quote))) {
                for (int i = 0; i < (triple ? 3 : 1); ++i) Advance();
                return true;
            }
            if (!triple && (ch == '\n' || ch == '\r')) return Fail("a line end inside a string");
            if (ch == '\\') {
                if (!Escape(out, raw)) return false;
                continue;
            }
            const std::size_t length = Utf8Length(s_, at_);
            if (length == 0) {
                AppendUtf8(out, 0xFFFD);  // not UTF-8: kept readable
                Advance();
                continue;
            }
            out.append(s_, at_, length);
            for (std::size_t i = 0; i < length; ++i) Advance();
        }
    }

    bool Hex(std::size_t digits, std::uint32_t& code) {
        code = 0;
        for (std::size_t i = 0; i < digits; ++i) {
            const char ch = Peek();
            int v = -1;
            if (IsDigit(ch))
                v = ch - '0';
            else if (ch >= 'a' && ch <= 'f')
                v = ch - 'a' + 10;
            else if (ch >= 'A' && ch <= 'F')
                v = ch - 'A' + 10;
            if (v < 0) return Fail("a \\x, \\u or \\U escape without its hex digits");
            code = code * 16 + static_cast<std::uint32_t>(v);
            Advance();
        }
        return true;
    }

    bool Escape(std::string& out, bool raw) {
        Advance();  // the backslash
        if (AtEnd()) return Fail("a string without its closing quote");
        const char ch = Peek();
        if (raw) {
            // A raw string keeps the backslash; it only stops a quote from ending it.
            out += '\\';
            if (ch == '\n' || ch == '\r') return Fail("a line end inside a string");
            out += ch;
            Advance();
            return true;
        }
        Advance();
        switch (ch) {
            case '\n':
                return true;  // a line continued
            case '\r':
                if (Peek() == '\n') Advance();
                return true;
            case '\\':
                out += '\\';
                return true;
            case '\'':
                out += '\'';
                return true;
            case '"':
                out += '"';
                return true;
            case 'a':
                out += '\a';
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'v':
                out += '\v';
                return true;
            case 'x':
            case 'u':
            case 'U': {
                std::uint32_t code = 0;
                if (!Hex(ch == 'x' ? 2 : ch == 'u' ? 4 : 8, code)) return false;
                if (code > 0x10FFFF) return Fail("an escape past the last character");
                AppendUtf8(out, code);
                return true;
            }
            case 'N':
                return Fail("a named escape \\N{...}");
            default:
                if (ch >= '0' && ch <= '7') {
                    std::uint32_t code = static_cast<std::uint32_t>(ch - '0');
                    for (int i = 0; i < 2 && Peek() >= '0' && Peek() <= '7'; ++i) {
                        code = code * 8 + static_cast<std::uint32_t>(Peek() - '0');
                        Advance();
                    }
                    AppendUtf8(out, code);
                    return true;
                }
                // Python keeps an unknown escape as it is.
                out += '\\';
                --at_;
                return true;
        }
    }

    bool SignedNumber(PyValue& out) {
        bool negative = false;
        if (Peek() == '-' || Peek() == '+') {
            negative = Peek() == '-';
            Advance();
            SkipSpace();
            if (!(IsDigit(Peek()) || (Peek() == '.' && IsDigit(Peek(1)))))
                return Fail("a sign without a number after it");
        }
        if (!Number(out)) return false;
        if (negative) {
            if (out.kind == PyValue::Kind::Int && out.whole != std::numeric_limits<std::int64_t>::min())
                out.whole = -out.whole;
            else
                out.real = -out.real;
        }
        SkipSpace();
        if (Peek() == '+' || Peek() == '-' || Peek() == '*' || Peek() == '/')
            return Fail("an operator where a value ends");
        return true;
    }

    bool Number(PyValue& out) {
        const std::size_t from = at_;
        // 0x, 0o and 0b whole numbers.
        if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X' || Peek(1) == 'o' || Peek(1) == 'O' || Peek(1) == 'b' ||
                              Peek(1) == 'B')) {
            const char kind = static_cast<char>(Peek(1) | 0x20);
            const int base = kind == 'x' ? 16 : kind == 'o' ? 8 : 2;
            Advance();
            Advance();
            const std::size_t digits = at_;
            while (!AtEnd() && IsNameChar(static_cast<unsigned char>(Peek()))) Advance();
            std::uint64_t value = 0;
            const auto [end, ec] = std::from_chars(s_.data() + digits, s_.data() + at_, value, base);
            if (digits == at_ || end != s_.data() + at_) return Fail("a number that does not read");
            if (ec != std::errc() || value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                return Fail("a whole number too large");
            out.kind = PyValue::Kind::Int;
            out.whole = static_cast<std::int64_t>(value);
            return true;
        }
        bool decimal = false;
        while (IsDigit(Peek())) Advance();
        if (Peek() == '.') {
            decimal = true;
            Advance();
            while (IsDigit(Peek())) Advance();
        }
        if (Peek() == 'e' || Peek() == 'E') {
            decimal = true;
            Advance();
            if (Peek() == '+' || Peek() == '-') Advance();
            if (!IsDigit(Peek())) return Fail("a number that does not read");
            while (IsDigit(Peek())) Advance();
        }
        if (Peek() == 'j' || Peek() == 'J') return Fail("a complex number");
        if (IsNameChar(static_cast<unsigned char>(Peek()))) return Fail("a number that does not read");
        const char* first = s_.data() + from;
        const char* last = s_.data() + at_;
        if (!decimal) {
            // "007" is no Python number; "000" is.
            if (last - first > 1 && *first == '0' &&
                std::string(first, last).find_first_not_of('0') != std::string::npos)
                return Fail("a whole number with a leading zero");
            std::int64_t value = 0;
            const auto [end, ec] = std::from_chars(first, last, value);
            if (ec == std::errc() && end == last) {
                out.kind = PyValue::Kind::Int;
                out.whole = value;
                return true;
            }
            // Past 64 bits: kept as a float, which no index or level is.
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(first, last, value);
        if (end != last || (ec != std::errc() && ec != std::errc::result_out_of_range))
            return Fail("a number that does not read");
        if (ec == std::errc::result_out_of_range)
            value = std::abs(value) < 1 ? 0.0 : std::numeric_limits<double>::infinity();
        out.kind = PyValue::Kind::Float;
        out.real = value;
        return true;
    }

    const std::string& s_;
    PyLimits limits_;
    std::size_t at_ = 0;
    int line_ = 1;
    std::size_t values_ = 0;
    std::string problem_;
};

}  // namespace

const PyValue* PyValue::Find(const std::string& key) const {
    if (kind != Kind::Dict) return nullptr;
    const PyValue* found = nullptr;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        if (items[i].kind == Kind::Str && items[i].text == key) found = &items[i + 1];
    return found;
}

PyParse ParsePythonLiteral(const std::string& text, const PyLimits& limits) { return Reader(text, limits).Parse(); }

std::string PyQuote(const std::string& text) {
    std::string out = "'";
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char ch = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) {
            AppendUtf8(out, 0xFFFD);
            ++at;
            continue;
        }
        if (length > 1) {
            out.append(text, at, length);
            at += length;
            continue;
        }
        ++at;
        switch (ch) {
            case '\\':
                out += "\\\\";
                break;
            case '\'':
                out += "\\'";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (ch < 0x20 || ch == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\x%02x", ch);
                    out += escape;
                } else {
                    out += static_cast<char>(ch);
                }
        }
    }
    return out + "'";
}

std::string PyFloat(double value) {
    if (!std::isfinite(value)) value = 0;
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    std::string out(text, ec == std::errc() ? end : text);
    if (out.find_first_of(".e") == std::string::npos) out += ".0";
    return out;
}

std::string PyFloatRounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0;  // no "-0.0"
    return PyFloat(rounded);
}
