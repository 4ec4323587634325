// Reading a world file: the text is parsed and every value checked before a world is returned.

#include <algorithm>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <vector>

#include "files/worldfile.h"
#include "files/worldlayout.h"
#include "files/worldscan.h"
#include "runtime/convert.h"

namespace zibs {

namespace {

using Json = nlohmann::json;

// The first problem found; readWorld turns it into its message.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void refuse(const std::string& problem) {
    throw Refusal(problem);
}

// A short picture of a value for a message.
std::string shown(const Json& v) {
    std::string s = v.dump(-1, ' ', false, Json::error_handler_t::replace);
    return escapedText(s.size() > 40 ? s.substr(0, 37) + "..." : s);
}

const Json& member(const Json& object, const char* key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end()) refuse(where + "\"" + key + "\" is missing");
    return *it;
}

// An object {...} with none but the given fields (missing ones are found as they are read).
const Json& objectOf(const Json& v, const std::vector<std::string>& keys, const std::string& name) {
    if (!v.is_object()) refuse(name + " must be an object {...}, not " + shown(v));
    for (const auto& [key, value] : v.items()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            refuse(name + " has a field " + quotedText(key) + " that world files do not have");
        }
    }
    return v;
}

// Whether v is a whole number in lo..hi.
bool wholeIn(const Json& v, long long lo, long long hi, long long& n) {
    if (v.is_number_unsigned()) {
        n = static_cast<long long>(std::min<std::uint64_t>(v.get<std::uint64_t>(), INT64_MAX));
    } else if (v.is_number_integer()) {
        n = v.get<std::int64_t>();
    } else {
        return false;
    }
    return n >= lo && n <= hi;
}

// The value named by name() in lo..hi; the name is made only for a refusal.
template <typename Name>
long long whole(const Json& v, long long lo, long long hi, const Name& name) {
    long long n = 0;
    if (wholeIn(v, lo, hi, n)) return n;
    if (!v.is_number_integer()) refuse(name() + " must be a whole number, not " + shown(v));
    refuse(name() + " is " + shown(v) + ", outside " + std::to_string(lo) + ".." +
           std::to_string(hi));
}

long long whole(const Json& v, long long lo, long long hi, const char* name) {
    return whole(v, lo, hi, [&] { return std::string(name); });
}

template <typename Name>
Integer integer(const Json& v, const Name& name) {
    return static_cast<Integer>(whole(v, -32768, 32767, name));
}

template <typename Name>
const Json& arrayOf(const Json& v, std::size_t size, const Name& name) {
    if (!v.is_array()) refuse(name() + " must be a list [...], not " + shown(v));
    if (v.size() != size) {
        refuse(name() + " has " + std::to_string(v.size()) + " entries instead of " +
               std::to_string(size));
    }
    return v;
}

const Json& arrayOf(const Json& v, std::size_t size, const char* name) {
    return arrayOf(v, size, [&] { return std::string(name); });
}

void readParameters(const Json& v, SavedWorld& s) {
    objectOf(v, {"texts", "values"}, "\"parameters\"");
    std::vector<std::string> keys;
    for (const ParameterField& f : parameterFields) keys.push_back(f.key);
    const Json& texts = objectOf(member(v, "texts", "\"parameters\": "), keys, "\"texts\"");
    const Json& values = objectOf(member(v, "values", "\"parameters\": "), keys, "\"values\"");
    for (const ParameterField& f : parameterFields) {
        const std::string name = "parameter \"" + std::string(f.key) + "\"";
        const Json& text = member(texts, f.key, "\"texts\": ");
        if (!text.is_string()) {
            refuse("the text of " + name + " must be a string, not " + shown(text));
        }
        s.texts.*f.text = text.get<std::string>();
        s.params.*f.value = integer(member(values, f.key, "\"values\": "), [&] { return name; });
    }
}

void readGenerator(const Json& v, SavedWorld& s) {
    arrayOf(v, s.generator.size(), "\"generator\"");
    for (std::size_t k = 0; k < s.generator.size(); ++k) {
        s.generator[k] = static_cast<std::uint32_t>(
            whole(v[k], 0, UINT32_MAX, [&] { return "generator number " + std::to_string(k); }));
    }
}

void readWorldState(const Json& v, World& w) {
    std::vector<std::string> keys = {"grass", "grass_spare", "zibs"};
    for (const GlobalField& g : globalFields) keys.push_back(g.key);
    objectOf(v, keys, "\"world\"");
    for (const GlobalField& g : globalFields) {
        const Json& value = member(v, g.key, "\"world\": ");
        // A day is never negative, and the day limit is the last there can be.
        w.*g.member = g.member == &World::day
                          ? static_cast<Integer>(whole(value, 0, dayLimit, g.key))
                          : integer(value, g.key);
    }
    const Json& amounts = arrayOf(member(v, "grass", "\"world\": "), w.grass.size(), "\"grass\"");
    const Json& spares =
        arrayOf(member(v, "grass_spare", "\"world\": "), w.grass.size(), "\"grass_spare\"");
    for (std::size_t k = 0; k < w.grass.size(); ++k) {
        const auto point = [&](const char* what) {
            return [&, what] {
                return std::string(what) + " of point (" + std::to_string(k % gridSize) + ", " +
                       std::to_string(k / gridSize) + ")";
            };
        };
        w.grass[k].amount = integer(amounts[k], point("the grass"));
        w.grass[k].spare = integer(spares[k], point("the grass spare"));
    }
    // The records that hold or held a zib, by number, in increasing order; the others are zero.
    const Json& zibs = member(v, "zibs", "\"world\": ");
    if (!zibs.is_array()) refuse("\"zibs\" must be a list [...], not " + shown(zibs));
    if (zibs.size() > static_cast<std::size_t>(lastRecord)) {
        refuse("\"zibs\" has " + std::to_string(zibs.size()) + " entries, more than the " +
               std::to_string(lastRecord) + " records 1 to 100");
    }
    long long previous = 0;
    for (std::size_t e = 0; e < zibs.size(); ++e) {
        const Json& numbers = arrayOf(zibs[e], 1 + zibNumberCount, [&] {
            return "entry " + std::to_string(e) + " of \"zibs\"";
        });
        const long long i = whole(numbers[0], 1, lastRecord, [&] {
            return "the record number of entry " + std::to_string(e) + " of \"zibs\"";
        });
        if (i <= previous) {
            refuse("zib " + std::to_string(i) + " follows zib " + std::to_string(previous) +
                   "; the zibs are listed in increasing record order");
        }
        previous = i;
        std::array<Integer, zibNumberCount> n{};
        for (std::size_t k = 0; k < n.size(); ++k) {
            n[k] = integer(numbers[k + 1], [&] {
                const std::size_t c = k - zibFields.size();
                return "zib " + std::to_string(i) + " " +
                       (k < zibFields.size() ? zibFields[k].name
                                             : "cell " + std::to_string(c / cellFields.size()) +
                                                   " " + cellFields[c % cellFields.size()].name);
            });
        }
        w.zibs[i] = zibFromNumbers(n);
    }
}

void readHistory(const Json& v, StatsHistory& history) {
    if (!v.is_array()) refuse("\"history\" must be a list [...], not " + shown(v));
    // A row per day: never more than the days there can be.
    if (v.size() > static_cast<std::size_t>(dayLimit) + 1) {
        refuse("\"history\" has more rows than there can be days");
    }
    history.resize(v.size());
    for (std::size_t k = 0; k < v.size(); ++k) {
        arrayOf(v[k], statsNumberCount, [&] { return "history row " + std::to_string(k); });
        for (std::size_t c = 0; c < statsNumberCount; ++c) {
            history[k].*statsFields[c].member =
                static_cast<std::int32_t>(whole(v[k][c], INT32_MIN, INT32_MAX, [&] {
                    return "history row " + std::to_string(k) + " " + statsFields[c].name;
                }));
        }
    }
}

// The five lists of the lineage, one entry per identity; checked against the world later.
// The lineage's lists, taken out of the text as it is parsed: a tree of values would cost a
// hundred bytes and more for each of up to a million zibs.
struct LineageLists {
    static constexpr std::array<const char*, 5> keys = {"parent", "origin", "destruction", "record",
                                                        "body"};
    static constexpr std::int32_t notWhole = INT32_MIN;  // the scan lets none through
    std::array<std::vector<std::int32_t>, 4> numbers;    // parent, origin, destruction, record
    std::vector<std::array<char, 8>> bodies;
    std::size_t oddBody = SIZE_MAX;  // the first body that is no string of 8 letters
    std::string oddBodyShown;

    // Takes entry `parsed` of list `key`; false when it is no list of the lineage.
    bool take(const std::string& key, const Json& parsed) {
        const auto k =
            std::find_if(keys.begin(), keys.end(), [&](const char* n) { return key == n; });
        if (k == keys.end()) return false;
        if (k == keys.end() - 1) {
            std::array<char, 8> body{};
            if (parsed.is_string() && parsed.get_ref<const std::string&>().size() == body.size()) {
                const std::string& letters = parsed.get_ref<const std::string&>();
                std::copy(letters.begin(), letters.end(), body.begin());
            } else if (oddBody == SIZE_MAX) {
                oddBody = bodies.size();
                oddBodyShown = shown(parsed);
            }
            bodies.push_back(body);
            return true;
        }
        numbers[k - keys.begin()].push_back(
            parsed.is_number_integer() ? static_cast<std::int32_t>(parsed.get<std::int64_t>())
                                       : notWhole);
        return true;
    }
    std::size_t size(std::size_t k) const { return k < 4 ? numbers[k].size() : bodies.size(); }
};

std::vector<Lineage::Entry> readLineage(const Json& v, const LineageLists& l) {
    objectOf(v, {l.keys.begin(), l.keys.end()}, "\"lineage\"");
    for (const char* key : l.keys) {
        const Json& list = member(v, key, "\"lineage\": ");
        if (!list.is_array()) {
            refuse("\"" + std::string(key) + "\" must be a list [...], not " + shown(list));
        }
    }
    const std::size_t n = l.size(0);
    if (n > Lineage::mostZibs) {
        refuse("the lineage has more than the " + std::to_string(Lineage::mostZibs) +
               " zibs a world file holds");
    }
    for (std::size_t k = 1; k < l.keys.size(); ++k) {
        if (l.size(k) != n) {
            refuse("\"" + std::string(l.keys[k]) + "\" has " + std::to_string(l.size(k)) +
                   " entries instead of " + std::to_string(n));
        }
    }
    std::vector<Lineage::Entry> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        Lineage::Entry& e = entries[i];
        const auto checked = [&](std::size_t k, const char* what, long long lo, long long hi) {
            const long long value = l.numbers[k][i];
            if (value >= lo && value <= hi) return value;
            const std::string name =
                "the " + std::string(what) + " of lineage zib " + std::to_string(i + 1);
            if (value == l.notWhole) refuse(name + " must be a whole number");
            refuse(name + " is " + std::to_string(value) + ", outside " + std::to_string(lo) +
                   ".." + std::to_string(hi));
        };
        e.parent = static_cast<ZibId>(checked(0, "parent", 0, static_cast<long long>(i)));
        e.origin = static_cast<Integer>(checked(1, "birth day", 0, dayLimit));
        e.destruction = static_cast<Integer>(checked(2, "death day", Lineage::alive, dayLimit));
        e.record = static_cast<Integer>(checked(3, "record", 1, lastRecord));
        if (i == l.oddBody) {
            refuse("the body of lineage zib " + std::to_string(i + 1) +
                   " must be a string of 8 letters, not " + l.oddBodyShown);
        }
        e.body = l.bodies[i];
    }
    return entries;
}

SavedWorld readAll(const Json& top, const LineageLists& lists) {
    const auto format = top.find("format");
    if (format == top.end() || *format != "zibs-world") refuse("this is not a Zibs world file");
    const long long version = whole(member(top, "version", ""), 1, INT64_MAX, "the format version");
    if (version > worldFormatVersion) {
        refuse("the file has format version " + std::to_string(version) +
               ", written by a newer Zibs; this one reads versions up to " +
               std::to_string(worldFormatVersion));
    }
    objectOf(
        top,
        {"format", "version", "seed", "parameters", "generator", "world", "lineage", "history"},
        "the file");
    if (version < 2 && top.contains("lineage")) {
        refuse("the file has format version 1, which has no \"lineage\"");
    }
    SavedWorld s;
    s.seed = static_cast<std::uint32_t>(whole(member(top, "seed", ""), 0, UINT32_MAX, "the seed"));
    readParameters(member(top, "parameters", ""), s);
    readGenerator(member(top, "generator", ""), s);
    readWorldState(member(top, "world", ""), s.world);
    readHistory(member(top, "history", ""), s.history);
    std::vector<Lineage::Entry> lineage;
    if (version >= 2) lineage = readLineage(member(top, "lineage", ""), lists);
    // The births and deaths of the last day run are those of the last row.
    if (!s.history.empty()) {
        const DayStats& last = s.history.back();
        s.world.counts = {last.births, last.deathsAge, last.deathsHunger};
    }
    std::string problem = worldStateProblem(s);
    if (!problem.empty()) refuse(problem);
    if (version >= 2) {
        problem = Lineage::assemble(std::move(lineage), s.world, s.lineage);
        if (!problem.empty()) refuse(problem);
    } else {
        s.lineage.begin(s.world);  // the zibs it holds are first zibs, born on its day
    }
    return s;
}

}  // namespace

WorldRead readWorld(std::string_view text) {
    if (text.size() > worldFileLimit) {
        return {std::nullopt, "the file is larger than " + std::to_string(worldFileLimit >> 20) +
                                  " MiB, more than any world file"};
    }
    // A byte order mark some editors put in front of UTF-8 says nothing here.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return {std::nullopt, "the file is empty"};
    // A picture, a CSV file and the like fail here, before any parsing.
    if (text[start] != '{') return {std::nullopt, "this is not a Zibs world file"};
    // Only a text of a world file's shape, whose numbers all fit their fields, becomes a tree of
    // values: its size is then bounded by the lists of a world.
    if (std::string problem = worldTextProblem(text); !problem.empty()) {
        return {std::nullopt, std::move(problem)};
    }
    try {
        // The entries of the lineage's lists go to `lists` instead of the tree.
        LineageLists lists;
        std::array<std::string, 3> keys;  // the field being read at depths 1 and 2
        const auto take = [&](int depth, Json::parse_event_t event, Json& parsed) {
            if (event == Json::parse_event_t::key && depth <= 2) {
                keys[static_cast<std::size_t>(depth)] = parsed.get<std::string>();
            }
            return !(event == Json::parse_event_t::value && depth == 3 && keys[1] == "lineage" &&
                     lists.take(keys[2], parsed));
        };
        return {readAll(Json::parse(text.begin(), text.end(), take), lists), {}};
    } catch (const Refusal& r) {
        return {std::nullopt, r.what()};
    } catch (const std::exception& e) {  // what the scan let through cannot get here
        return {std::nullopt, "the file is damaged: " + escapedText(e.what())};
    }
}

}  // namespace zibs
