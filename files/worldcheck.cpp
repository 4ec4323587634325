// What a world can hold: the checks of an opened world, and of a world before it is saved.

#include <cstdint>
#include <string>
#include <vector>

#include "files/worldfile.h"
#include "files/worldlayout.h"
#include "runtime/convert.h"

namespace zibs {

namespace {

std::string str(long long v) {
    return std::to_string(v);
}

// "x is 25, outside 0..20", or "" when v lies in lo..hi.
std::string outside(const std::string& name, long long v, long long lo, long long hi) {
    if (v >= lo && v <= hi) return {};
    return name + " is " + str(v) + ", outside " + str(lo) + ".." + str(hi);
}

std::string parametersProblem(const SavedWorld& s) {
    const ParameterCheck check = checkParameters(s.texts);
    if (!check.values) return "the parameter texts cannot start a world: " + check.error;
    for (const ParameterField& f : parameterFields) {
        if ((*check.values).*f.value != s.params.*f.value) {
            return "parameter \"" + std::string(f.key) + "\" is " + str(s.params.*f.value) +
                   ", but its text " + quotedText(s.texts.*f.text) + " gives " +
                   str((*check.values).*f.value);
        }
    }
    return {};
}

std::string globalsProblem(const SavedWorld& s) {
    const World& w = s.world;
    std::string p = outside("selzib", w.selzib, 0, lastRecord);
    if (p.empty()) p = outside("popstart", w.popstart, 0, lastRecord);
    if (p.empty()) p = outside("day", w.day, 0, dayLimit);
    if (!p.empty()) return p;
    // Initialize copies the parameters into the last five globals; nothing else writes them.
    for (std::size_t k = 1; k < parameterFields.size(); ++k) {
        const Integer world = w.*globalFields[k + 3].member;
        const Integer param = s.params.*parameterFields[k].value;
        if (world != param) {
            return std::string(globalFields[k + 3].key) + " is " + str(world) +
                   ", but the parameter \"" + parameterFields[k].key + "\" is " + str(param);
        }
    }
    // Initialize sets popstart to the start population; births raise it, up to record 99.
    if (w.popstart < s.params.popstart) {
        return "popstart " + str(w.popstart) + " is below the start population " +
               str(s.params.popstart);
    }
    if (w.popstart > s.params.popstart && w.popstart > lastRecord - 1) {
        return "popstart " + str(w.popstart) + " is above the start population " +
               str(s.params.popstart) + ", but births stop at record 99";
    }
    return {};
}

std::string cellProblem(const ZibCell& c) {
    std::string p = outside("kind", c.kind, empty, eye);
    // Creation and mutation give capacities of 1..3 and 25..49; stores fill only up to them.
    if (p.empty()) p = outside("capacity", c.capacity, 0, 49);
    if (p.empty()) p = outside("use", c.use, 0, 3);
    if (p.empty()) p = outside("food", c.food, 0, 49);
    if (p.empty()) p = outside("mode", c.mode, 0, 2);
    return p;
}

// A record that has held a zib, living or dead. One that never has is all zero.
std::string recordProblem(const Zib& z) {
    std::string p = outside("x", z.x, 0, gridSize - 1);
    if (p.empty()) p = outside("y", z.y, 0, gridSize - 1);
    const bool noTarget = z.goalx == 0 && z.goaly == 0;
    if (p.empty() && !noTarget && (z.goalx < 1 || z.goalx > 20 || z.goaly < 1 || z.goaly > 20)) {
        p = "the target (" + str(z.goalx) + ", " + str(z.goaly) +
            ") is neither (0, 0) nor a point in 1..20";
    }
    if (p.empty()) p = outside("mode", z.mode, 0, 2);
    if (p.empty()) p = outside("age", z.age, 0, 32767);
    if (p.empty()) p = outside("reproage", z.reproage, 3, 6);
    if (p.empty()) p = outside("alive", z.alive, 0, 1);
    if (!p.empty()) return p;
    for (int j : {0, 9, 10}) {
        if (z.cells[j] != ZibCell{}) return "cell " + str(j) + " is not zero";
    }
    for (int j = 1; j <= 8; ++j) {
        p = cellProblem(z.cells[j]);
        if (!p.empty()) return "cell " + str(j) + ": " + p;
    }
    return {};
}

std::string zibsProblem(const World& w) {
    if (w.zibs[0] != Zib{}) return "zib 0, which is never used, is not zero";
    int living = 0;
    for (int i = 1; i <= lastRecord; ++i) {
        const Zib& z = w.zibs[i];
        if (z == Zib{}) continue;
        const std::string p = recordProblem(z);
        if (!p.empty()) return "zib " + str(i) + ": " + p;
        // Records above popstart may keep an earlier world's zibs, living ones too: no day
        // looks at them, and a birth overwrites them whole.
        if (i <= w.popstart) living += z.alive;
    }
    if (w.population != living) {
        return "population is " + str(w.population) + ", but " + str(living) + " of records 1 to " +
               str(w.popstart) + " are alive";
    }
    return {};
}

std::string historyProblem(const SavedWorld& s) {
    const StatsHistory& h = s.history;
    const World& w = s.world;
    if (h.size() != static_cast<std::size_t>(w.day) + 1) {
        return "the history has " + str(static_cast<long long>(h.size())) + " rows, but day " +
               str(w.day) + " needs one for every day from 0 to " + str(w.day);
    }
    for (std::size_t k = 0; k < h.size(); ++k) {
        const DayStats& r = h[k];
        const std::string row = "history row " + str(static_cast<long long>(k)) + ": ";
        if (r.day != static_cast<long long>(k)) {
            return row + "day is " + str(r.day) + "; the rows are days 0, 1, 2, ... in turn";
        }
        std::string p = outside("population", r.population, 0, lastRecord);
        for (std::size_t c = 2; p.empty() && c < statsFields.size(); ++c) {
            p = outside(statsFields[c].name, r.*statsFields[c].member, 0, INT32_MAX);
        }
        if (p.empty() &&
            static_cast<long long>(r.stores) + r.motors + r.eyes > 8LL * r.population) {
            p = "more stores, motors and eyes than " + str(r.population) + " zibs have";
        }
        if (p.empty() && k == 0 && r.population != s.params.popstart) {
            p = "population " + str(r.population) + " is not the start population " +
                str(s.params.popstart);
        }
        if (p.empty() && k == 0 && (r.births != 0 || r.deathsAge != 0 || r.deathsHunger != 0)) {
            p = "day 0 has births or deaths";
        }
        // Every zib that comes or goes during a day is counted as a birth or a death.
        if (p.empty() && k > 0 &&
            static_cast<long long>(h[k - 1].population) + r.births - r.deathsAge - r.deathsHunger !=
                r.population) {
            p = "population " + str(r.population) + " is not the day before's " +
                str(h[k - 1].population) + " with " + str(r.births) + " births and " +
                str(static_cast<long long>(r.deathsAge) + r.deathsHunger) + " deaths";
        }
        if (!p.empty()) return row + p;
    }
    const DayStats now = tally(w);
    for (const StatsField& f : statsFields) {
        if (h.back().*f.member != now.*f.member) {
            return "the last history row does not match the world: its " + std::string(f.name) +
                   " is " + str(h.back().*f.member) + ", the world's " + str(now.*f.member);
        }
    }
    return {};
}

}  // namespace

std::string worldStateProblem(const SavedWorld& s) {
    if (!Rnd::canHold(s.generator)) {
        return s.generator.back() > 624
                   ? "the generator's position is " + str(s.generator.back()) + ", outside 0..624"
                   : "the generator's state is all zero, which no seed leads to";
    }
    for (auto check : {parametersProblem, globalsProblem}) {
        const std::string p = check(s);
        if (!p.empty()) return p;
    }
    const std::string p = zibsProblem(s.world);
    return p.empty() ? historyProblem(s) : p;
}

std::string worldProblem(const SavedWorld& s) {
    std::string p = worldStateProblem(s);
    if (!p.empty()) return p;
    std::vector<Lineage::Entry> entries;
    entries.reserve(static_cast<std::size_t>(s.lineage.size()));
    for (ZibId id = 1; id <= s.lineage.size(); ++id) entries.push_back(s.lineage[id]);
    Lineage checked;
    return Lineage::assemble(std::move(entries), s.world, checked);
}

}  // namespace zibs
