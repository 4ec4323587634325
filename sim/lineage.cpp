#include "sim/lineage.h"

#include <utility>

namespace zibs {

namespace {

std::string str(long long v) {
    return std::to_string(v);
}

}  // namespace

std::array<char, 8> Lineage::bodyOf(const Zib& z) {
    static constexpr char letters[] = {'.', 'S', 'M', 'E'};
    std::array<char, 8> body{};
    for (int j = 1; j <= 8; ++j) {
        const Integer kind = z.cells[j].kind;
        body[j - 1] = kind >= CellKind::empty && kind <= CellKind::eye ? letters[kind] : '?';
    }
    return body;
}

void Lineage::begin(const World& world) {
    entries_.clear();  // keeps the room a world before took
    records_ = {};
    for (Integer i = 1; i <= std::min<Integer>(world.popstart, lastRecord); ++i) {
        const Zib& z = world.zibs[i];
        if (z.alive != 1) continue;
        const ZibId id = static_cast<ZibId>(entries_.size()) + 1;
        entries_.push_back({0, id, 0, world.day, alive, i, bodyOf(z)});
        records_[i] = {id, id, 0};
    }
    firstZibs_ = size();
    lastDay_ = world.day;
    sealed_ = true;
}

bool Lineage::replaying(const World& world) {
    const int day = world.day + 1;
    if (day > lastDay_) {
        lastDay_ = day;
        sealed_ = false;
    }
    return day < lastDay_ || sealed_;
}

void Lineage::born(const World& world, Integer parent, Integer child) {
    if (replaying(world)) return;
    if (entries_.size() >= mostZibs) {
        records_[child] = {};  // past what a world keeps: no identity
        return;
    }
    // The parent's founder and generation from its record, not from its entry far back.
    const Living p = records_[parent];
    const ZibId id = size() + 1;
    const Living c = p.id > 0 ? Living{id, p.founder, p.generation + 1} : Living{id, id, 0};
    entries_.push_back({p.id, c.founder, c.generation, static_cast<Integer>(world.day + 1), alive,
                        child, bodyOf(world.zibs[child])});
    records_[child] = c;
}

void Lineage::died(const World& world, Integer index) {
    if (replaying(world)) return;
    if (const ZibId id = records_[index].id; id > 0) {
        entries_[static_cast<std::size_t>(id - 1)].destruction =
            static_cast<Integer>(world.day + 1);
    }
}

ZibId Lineage::identity(Integer record, int day) const {
    for (ZibId id = size(); id >= 1; --id) {
        const Entry& e = (*this)[id];
        if (e.record == record && e.origin <= day) return id;
    }
    return 0;
}

Lineage Lineage::at(int day) const {
    Lineage past;
    past.firstZibs_ = firstZibs_;
    past.lastDay_ = std::min(day, lastDay_);
    past.sealed_ = true;
    for (const Entry& e : entries_) {
        if (e.origin > day) break;  // the identities follow the days
        Entry kept = e;
        if (kept.destruction > day) kept.destruction = alive;
        past.entries_.push_back(kept);
        past.records_[kept.record] = {past.size(), kept.founder, kept.generation};
    }
    return past;
}

std::string Lineage::assemble(std::vector<Entry> entries, const World& world, Lineage& out) {
    if (entries.size() > mostZibs) {
        return "the lineage has " + str(static_cast<long long>(entries.size())) +
               " zibs, more than the " + str(mostZibs) + " a world file holds";
    }
    Lineage l;
    l.entries_ = std::move(entries);
    l.lastDay_ = world.day;
    l.sealed_ = true;
    std::array<ZibId, lastRecord + 1> living{};
    for (ZibId id = 1; id <= l.size(); ++id) {
        Entry& e = l.entries_[static_cast<std::size_t>(id - 1)];
        const std::string name = "lineage zib " + str(id);
        if (e.parent < 0 || e.parent >= id) {
            return name + " has the parent " + str(e.parent) + ", not an earlier zib";
        }
        if (e.parent == 0 && id != l.firstZibs_ + 1) {
            return name + " has no parent, but follows a newborn";
        }
        if (e.origin < 0 || e.origin > world.day) {
            return name + " was born on day " + str(e.origin) + ", outside 0.." + str(world.day);
        }
        if (id > 1 && e.origin < l[id - 1].origin) {
            return name + " was born on day " + str(e.origin) + ", before zib " + str(id - 1);
        }
        if (e.destruction != alive && (e.destruction < e.origin || e.destruction > world.day)) {
            return name + " died on day " + str(e.destruction) + ", outside " + str(e.origin) +
                   ".." + str(world.day);
        }
        if (e.record < 1 || e.record > lastRecord) {
            return name + " has the record " + str(e.record) + ", outside 1.." + str(lastRecord);
        }
        for (const char c : e.body) {
            if (c != '.' && c != 'S' && c != 'M' && c != 'E' && c != '?') {
                return name + " has a body with a letter other than . S M E ?";
            }
        }
        if (e.parent == 0) {
            ++l.firstZibs_;
            e.founder = id;
            e.generation = 0;
        } else {
            const Entry& p = l[e.parent];
            if (e.origin < p.origin || (p.destruction != alive && p.destruction < e.origin)) {
                return name + " was born on day " + str(e.origin) + ", when its parent " +
                       str(e.parent) + " was not alive";
            }
            e.founder = p.founder;
            e.generation = p.generation + 1;
        }
        if (e.destruction == alive) {
            if (living[e.record] != 0) {
                return name + " and zib " + str(living[e.record]) + " both live in record " +
                       str(e.record);
            }
            living[e.record] = id;
        }
        l.records_[e.record] = {id, e.founder, e.generation};
    }
    for (Integer i = 1; i <= lastRecord; ++i) {
        const bool lives = i <= world.popstart && world.zibs[i].alive == 1;
        if (lives != (living[i] != 0)) {
            return "record " + str(i) +
                   (lives ? " holds a living zib the lineage does not have"
                          : " holds no living zib, but the lineage has one");
        }
    }
    out = std::move(l);
    return {};
}

LineageSummary summarise(const Lineage& lineage) {
    LineageSummary s;
    std::vector<bool> left(static_cast<std::size_t>(lineage.firstZibs()) + 1, false);
    for (ZibId id = 1; id <= lineage.size(); ++id) {
        const Lineage::Entry& e = lineage[id];
        s.maxGeneration = std::max(s.maxGeneration, e.generation);
        if (e.destruction == Lineage::alive && !left[static_cast<std::size_t>(e.founder)]) {
            left[static_cast<std::size_t>(e.founder)] = true;
            ++s.familiesLeft;
        }
    }
    return s;
}

}  // namespace zibs
