// Python literals, read and written without evaluating anything: what
// Python's ast.literal_eval accepts of dictionaries, lists, tuples, strings
// (with their escapes and u/r prefixes, adjacent ones joined), whole and
// decimal numbers with one sign, True, False and None. Anything else (a
// name, a call, an operator, a set, bytes, a complex number) is refused
// with its line. Reading is bounded: so deep a nesting and so many values
// at most, whatever the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PyValue {
    enum class Kind : std::uint8_t { None, Bool, Int, Float, Str, List, Tuple, Dict };
    Kind kind = Kind::None;
    bool flag = false;       // Bool
    std::int64_t whole = 0;  // Int
    double real = 0;         // Float (an Int too large for 64 bits reads as one)
    std::string text;        // Str, as UTF-8
    // List and Tuple: the items; Dict: key, value, key, value, ... in order.
    std::vector<PyValue> items;

    bool IsNumber() const { return kind == Kind::Int || kind == Kind::Float; }
    double Number() const { return kind == Kind::Int ? static_cast<double>(whole) : real; }
    bool IsSequence() const { return kind == Kind::List || kind == Kind::Tuple; }
    // A dictionary's value for the string `key` (the last one, as Python
    // keeps it); null when there is none or this is no dictionary.
    const PyValue* Find(const std::string& key) const;
};

struct PyLimits {
    std::size_t depth = 64;          // containers within containers
    std::size_t values = 2'000'000;  // values in all
};

struct PyParse {
    bool ok = false;
    PyValue value;
    int line = 0;         // 1-based line of the problem
    std::string problem;  // what is wrong there
};

// Reads `text` as one Python literal.
PyParse ParsePythonLiteral(const std::string& text, const PyLimits& limits = {});

// A string as Python's repr writes it: single quotes, with backslash
// escapes for the quote, the backslash and control characters; other
// characters as they are (bytes that are not UTF-8 become U+FFFD).
std::string PyQuote(const std::string& text);
// A finite number as Python's repr writes a float: the shortest text that
// reads back the same, always with a point or an exponent ("400.0").
std::string PyFloat(double value);
// A number with at most `decimals` decimals, as a float ("204.4", "400.0").
std::string PyFloatRounded(double value, int decimals);
