// The shape of a world file, checked as the text is read, before any value is kept.

#include "files/worldscan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

#include "files/worldfile.h"
#include "files/worldlayout.h"
#include "runtime/convert.h"
#include "sim/lineage.h"

namespace zibs {

namespace {

using Json = nlohmann::json;

// The objects and lists of a world file, and the fields that hold a single value.
enum class Part {
    file,
    parameters,
    texts,
    values,
    generator,
    world,
    grass,
    zibs,
    zib,
    history,
    row,
    lineage,
    lineageList,
    value
};

// The most entries each list may have; the reader checks that it has as many.
struct ListLimit {
    Part part;
    std::size_t entries;
};
constexpr std::array<ListLimit, 6> listLimits = {{
    {Part::generator, 625},
    {Part::grass, std::size_t{gridSize} * gridSize},  // and "grass_spare"
    {Part::zibs, lastRecord},
    {Part::zib, 1 + zibNumberCount},
    {Part::history, dayLimit + 1},
    {Part::lineageList, Lineage::mostZibs},  // each of the lineage's five lists
    // a history row: statsNumberCount, below
}};

std::size_t listLimit(Part part) {
    if (part == Part::row) return statsNumberCount;
    for (const ListLimit& l : listLimits) {
        if (l.part == part) return l.entries;
    }
    return 0;
}

constexpr long long int16Lo = -32768, int16Hi = 32767;

// A place in the file: what it may hold, and its name in a message.
struct Place {
    Part part = Part::value;
    std::string name;
    bool number = false;  // a value that must be a whole number in lo..hi
    long long lo = 0, hi = 0;
    std::size_t entry = 0;  // of "zibs" or "history"
};

Place object(Part part, std::string name) {
    return {part, std::move(name)};
}

std::vector<std::string> keysOf(Part part) {
    std::vector<std::string> keys;
    switch (part) {
        case Part::file:
            return {"format",    "version", "seed",    "parameters",
                    "generator", "world",   "lineage", "history"};
        case Part::lineage:
            return {"parent", "origin", "destruction", "record", "body"};
        case Part::parameters:
            return {"texts", "values"};
        case Part::texts:
        case Part::values:
            for (const ParameterField& f : parameterFields) keys.push_back(f.key);
            return keys;
        case Part::world:
            keys = {"grass", "grass_spare", "zibs"};
            for (const GlobalField& g : globalFields) keys.push_back(g.key);
            return keys;
        default:
            return keys;
    }
}

// The place of field `key` (of an object) or entry `index` (of a list) of `parent`. The name of
// a single value is made only when `named`: most numbers of a file never need theirs.
Place childOf(const Place& parent, const std::string& key, std::size_t index, bool named) {
    const std::string e = named || parent.part == Part::zibs || parent.part == Part::history
                              ? std::to_string(index)
                              : std::string();
    const auto number = [named](auto name, long long lo, long long hi) {
        return Place{Part::value, named ? std::string(name()) : std::string(), true, lo, hi};
    };
    switch (parent.part) {
        case Part::file:
            if (key == "format") return {Part::value, "\"format\""};
            if (key == "version") {
                return number([] { return "the format version"; },
                              std::numeric_limits<long long>::min(),
                              std::numeric_limits<long long>::max());
            }
            if (key == "seed") return number([] { return "the seed"; }, 0, UINT32_MAX);
            if (key == "parameters") return object(Part::parameters, "\"parameters\"");
            if (key == "generator") return object(Part::generator, "\"generator\"");
            if (key == "world") return object(Part::world, "\"world\"");
            if (key == "lineage") return object(Part::lineage, "\"lineage\"");
            return object(Part::history, "\"history\"");
        case Part::parameters:
            return key == "texts" ? object(Part::texts, "\"texts\"")
                                  : object(Part::values, "\"values\"");
        case Part::texts:
            return {Part::value, "the text of parameter \"" + key + "\""};
        case Part::values:
            return number([&] { return "parameter \"" + key + "\""; }, int16Lo, int16Hi);
        case Part::generator:
            return number([&] { return "generator number " + e; }, 0, UINT32_MAX);
        case Part::world:
            if (key == "grass" || key == "grass_spare") {
                return object(Part::grass, "\"" + key + "\"");
            }
            if (key == "zibs") return object(Part::zibs, "\"zibs\"");
            if (key == "day") return number([&] { return key; }, 0, dayLimit);
            return number([&] { return key; }, int16Lo, int16Hi);
        case Part::grass:
            return number(
                [&] {
                    return std::string(parent.name == "\"grass\"" ? "the grass"
                                                                  : "the grass spare") +
                           " of point (" + std::to_string(index % gridSize) + ", " +
                           std::to_string(index / gridSize) + ")";
                },
                int16Lo, int16Hi);
        case Part::zibs: {
            Place zib = object(Part::zib, "entry " + e + " of \"zibs\"");
            zib.entry = index;
            return zib;
        }
        case Part::zib:
            return number(
                [&] {
                    const std::string of =
                        " of entry " + std::to_string(parent.entry) + " of \"zibs\"";
                    if (index == 0) return "the record number" + of;
                    const std::size_t k = index - 1, c = k - zibFields.size();
                    return "the " +
                           (k < zibFields.size()
                                ? std::string(zibFields[k].name)
                                : "cell " + std::to_string(c / cellFields.size()) + " " +
                                      cellFields[c % cellFields.size()].name) +
                           of;
                },
                int16Lo, int16Hi);
        case Part::history: {
            Place row = object(Part::row, "history row " + e);
            row.entry = index;
            return row;
        }
        case Part::row:
            return number(
                [&] {
                    return "history row " + std::to_string(parent.entry) + " " +
                           statsFields[std::min<std::size_t>(index, statsNumberCount - 1)].name;
                },
                INT32_MIN, INT32_MAX);
        case Part::lineage:
            return object(Part::lineageList, "\"" + key + "\"");
        case Part::lineageList:
            // Identities, days and records; the reader checks each against the others.
            if (parent.name == "\"body\"") {
                return {Part::value, named ? "the body of lineage zib " + std::to_string(index + 1)
                                           : std::string()};
            }
            return number([&] { return "entry " + std::to_string(index) + " of " + parent.name; },
                          -1, static_cast<long long>(Lineage::mostZibs));
        case Part::value:
            break;
    }
    return {};
}

bool isList(Part part) {
    return listLimit(part) > 0;
}

// A number as written, cut short when long.
std::string shownNumber(const std::string& text) {
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

// Line and column of a byte of the text, counted from 1.
std::string lineAndColumn(std::string_view text, std::size_t at) {
    const std::string_view before = text.substr(0, at);
    const std::size_t lineStart = before.rfind('\n');
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const std::size_t column = lineStart == std::string_view::npos ? at + 1 : at - lineStart;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The parser keeps a number or a string whole, two or three times over, before it is handed on:
// those longer than any a world file has are refused first. No whole number that a field holds
// has more than 20 digits and a sign; the parameter texts are far shorter than a string may be.
constexpr std::size_t longestNumber = 24;
constexpr std::size_t longestString = 1u << 20;

std::string tokenProblem(std::string_view text) {
    bool inString = false, escaped = false;
    std::size_t start = 0, numberLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // The parser would take a NUL for the end of the text and not look at what follows.
        if (c == '\0') {
            return "the file is damaged at " + lineAndColumn(text, i) + ": it holds a NUL byte";
        }
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            if (i - start > longestString) {
                return "the string at " + lineAndColumn(text, start) + " is longer than " +
                       std::to_string(longestString >> 20) + " MiB, more than any world file has";
            }
            continue;
        }
        const bool numeric =
            (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
        numberLength = numeric ? numberLength + 1 : 0;
        if (numberLength > longestNumber) {
            return "the number at " + lineAndColumn(text, i + 1 - numberLength) +
                   " is longer than any a field can hold";
        }
        if (c == '"') {
            inString = true;
            start = i;
        }
    }
    return {};
}

// Follows the parser through the text; stops it at the first problem.
class Scan : public nlohmann::json_sax<Json> {
  public:
    explicit Scan(std::string_view text) : text_(text) {}
    std::string problem;

    bool null() override { return scalar("null"); }
    bool boolean(bool value) override { return scalar(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override {
        return whole(static_cast<long double>(value), std::to_string(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return whole(static_cast<long double>(value), std::to_string(value));
    }
    bool number_float(number_float_t, const string_t& text) override {
        const Place p = next();
        if (!problem.empty()) return false;  // a list grew too long
        if (!p.number) return notNumber(p, text);
        return refuse(name() + " must be a whole number, not " + shownNumber(text));
    }
    bool string(string_t& value) override { return scalar(quotedText(value)); }
    bool binary(binary_t&) override { return refuse("the file is damaged"); }

    bool start_object(std::size_t) override { return open(false); }
    bool key(string_t& key) override {
        Frame& f = frames_.back();
        const std::vector<std::string> keys = keysOf(f.place.part);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            return refuse(f.place.name + " has a field " + quotedText(key) +
                          " that world files do not have");
        }
        if (std::find(f.seen.begin(), f.seen.end(), key) != f.seen.end()) {
            return refuse(f.place.name + " has the field " + quotedText(key) + " twice");
        }
        f.seen.push_back(key);
        f.key = key;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t at, const std::string& token,
                     const nlohmann::detail::exception& e) override {
        if (e.id == 406) {  // a number beyond what a double holds, which ends at `at`
            return refuse("the file holds a number too large for any field at " +
                          lineAndColumn(text_, at - std::min(at, token.size())));
        }
        // The parser reports the end of the text as the byte after the last.
        if (at > text_.size()) return refuse("the file ends too early: it is cut short");
        // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..."
        const std::string what = e.what();
        const std::size_t place = what.find(" at line ");
        return refuse("the file is damaged" +
                      (place == std::string::npos ? "" : escapedText(what.substr(place))));
    }

  private:
    struct Frame {
        Place place;
        bool list = false;
        std::size_t count = 0;          // entries, or fields
        std::vector<std::string> seen;  // the fields so far
        std::string key;                // the field whose value comes next
    };

    bool refuse(std::string p) {
        if (problem.empty()) problem = std::move(p);
        return false;
    }

    void tooLong(const Frame& f) {
        const std::size_t most = listLimit(f.place.part);
        if (f.place.part == Part::zibs) {
            refuse("\"zibs\" has more than " + std::to_string(most) +
                   " entries, the records 1 to 100");
        } else if (f.place.part == Part::history) {
            refuse("\"history\" has more rows than there can be days");
        } else {
            refuse(f.place.name + " has more than " + std::to_string(most) + " entries");
        }
    }

    // The place of the value that comes now, without its name.
    Place next() {
        if (frames_.empty()) return object(Part::file, "the file");
        Frame& f = frames_.back();
        // A list is refused at its first entry too many, however long it goes on.
        if (f.list && f.count == listLimit(f.place.part)) tooLong(f);
        return childOf(f.place, f.key, f.count++, false);
    }
    // The name of the value that came last.
    std::string name() const {
        const Frame& f = frames_.back();
        return childOf(f.place, f.key, f.count - 1, true).name;
    }

    // A string, true, false or null: only where a string may stand ("format" and the texts).
    bool scalar(const std::string& shown) {
        const Place p = next();
        if (!problem.empty()) return false;  // a list grew too long
        if (p.number) return refuse(name() + " must be a whole number, not " + shown);
        if (p.part == Part::value) return true;
        return refuse(
            p.name +
            (isList(p.part) ? " must be a list [...], not " : " must be an object {...}, not ") +
            shown);
    }

    // A number where a list, an object or a string belongs.
    bool notNumber(const Place& p, const std::string& text) {
        if (p.part == Part::value) return true;  // the reader names what should be there
        return refuse(
            p.name +
            (isList(p.part) ? " must be a list [...], not " : " must be an object {...}, not ") +
            shownNumber(text));
    }

    bool whole(long double value, const std::string& text) {
        const Place p = next();
        if (!problem.empty()) return false;  // a list grew too long
        if (!p.number) return notNumber(p, text);
        if (value >= p.lo && value <= p.hi) return true;
        return refuse(name() + " is " + shownNumber(text) + ", outside " + std::to_string(p.lo) +
                      ".." + std::to_string(p.hi));
    }

    bool open(bool list) {
        // No list or object of a world file lies deeper than a zib's: the file, "world", "zibs",
        // a zib.
        if (frames_.size() >= 4)
            return refuse("this is not a Zibs world file: its values nest too deeply");
        const Place p = next();
        if (!problem.empty()) return false;  // a list grew too long
        const char* shown = list ? "a list [...]" : "an object {...}";
        if (p.number) return refuse(name() + " must be a whole number, not " + shown);
        if (p.part == Part::value) {
            if (p.name == "\"format\"") return refuse("this is not a Zibs world file");
            return refuse(p.name + " must be a string, not " + shown);
        }
        if (isList(p.part) != list) {
            return refuse(
                p.name + (list ? " must be an object {...}, not " : " must be a list [...], not ") +
                shown);
        }
        frames_.push_back({p, list, 0, {}, {}});
        return true;
    }

    bool close() {
        frames_.pop_back();
        return true;
    }

    std::string_view text_;
    std::vector<Frame> frames_;
};

}  // namespace

std::string worldTextProblem(std::string_view text) {
    if (std::string problem = tokenProblem(text); !problem.empty()) return problem;
    Scan scan(text);
    try {
        if (Json::sax_parse(text.begin(), text.end(), &scan)) return {};
    } catch (const std::exception& e) {
        return "the file is damaged: " + escapedText(e.what());
    }
    return scan.problem.empty() ? "the file is damaged" : scan.problem;
}

}  // namespace zibs
