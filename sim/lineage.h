#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/world.h"

namespace zibs {

// A zib's identity: 1, 2, 3, ... in the order the zibs came to be; never reused within a world.
// 0 stands for none (the parent of a first zib).
using ZibId = std::int32_t;

// Who descends from whom. Every zib of a world gets an identity: the first zibs (those of
// Initialize, or those an older world file brought) in record order, every newborn the next one
// in the order the day creates them. The simulation reports births and deaths through the
// presentation's zibborn and zibdied; nothing here draws a random number or touches a record.
class Lineage {
  public:
    static constexpr Integer alive = -1;  // the destruction day of a living zib
    // No world keeps more zibs than this (a file with more is refused, a world with more is not
    // saved).
    static constexpr std::size_t mostZibs = 1'000'000;

    struct Entry {
        ZibId parent = 0;   // 0 for a first zib
        ZibId founder = 0;  // the first zib the line goes back to (itself for a first zib)
        std::int32_t generation = 0;
        Integer origin = 0;
        Integer destruction = alive;
        Integer record = 0;  // the record the zib lives or lived in
        // Ring cells 1 to 8 as the zib began: '.' empty, 'S' store, 'M' motor, 'E' eye ('?' for a
        // kind no rule gives).
        std::array<char, 8> body{};
    };

    // The living zibs of records 1 to popstart become first zibs, born on the world's day.
    void begin(const World& world);
    // A newborn in record `child`, the copy of the zib in record `parent`, just turned; called
    // during the day being run (world.day + 1).
    void born(const World& world, Integer parent, Integer child);
    // The zib in record `index` has died during the day being run.
    void died(const World& world, Integer index);
    // The days recorded so far are complete. After going back, the days run again are those
    // already recorded (the world is deterministic): their births and deaths are not recorded
    // twice. A day past the last one recorded is recorded again.
    void seal() { sealed_ = true; }

    // Entry of identity id (1..size()).
    const Entry& operator[](ZibId id) const { return entries_[static_cast<std::size_t>(id - 1)]; }
    ZibId size() const { return static_cast<ZibId>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // The identity of the zib that was last born into a record by the end of `day` (0 when
    // none was).
    ZibId identity(Integer record, int day) const;
    // The first zibs: identities 1 to firstZibs().
    ZibId firstZibs() const { return firstZibs_; }

    // The lineage as it was at the end of `day`: the zibs born by then, those dead after it alive.
    Lineage at(int day) const;

    // Builds a lineage from the parents, days, records and bodies of a file, for `world`; the
    // founders and generations follow from the parents. Returns the first thing that cannot be,
    // or "" (and sets `out`).
    static std::string assemble(std::vector<Entry> entries, const World& world, Lineage& out);

    // The body letters of a record's ring.
    static std::array<char, 8> bodyOf(const Zib& z);

    friend bool operator==(const Lineage& a, const Lineage& b) {
        return a.entries_.size() == b.entries_.size() &&
               std::equal(a.entries_.begin(), a.entries_.end(), b.entries_.begin(),
                          [](const Entry& x, const Entry& y) {
                              return x.parent == y.parent && x.origin == y.origin &&
                                     x.destruction == y.destruction && x.record == y.record &&
                                     x.body == y.body;
                          });
    }

  private:
    // Whether the day being run is one already recorded.
    bool replaying(const World& world);

    std::vector<Entry> entries_;
    ZibId firstZibs_ = 0;
    struct Living {
        ZibId id = 0;
        ZibId founder = 0;
        std::int32_t generation = 0;
    };
    std::array<Living, lastRecord + 1> records_{};  // by record, as the world stands
    int lastDay_ = 0;                               // the latest day with a birth or death recorded
    bool sealed_ = false;                           // see seal()
};

// What the lineage says about a run's end: the first zibs with a living descendant (themselves
// included), and the highest generation of any zib (0 when none was born).
struct LineageSummary {
    std::int32_t familiesLeft = 0;
    std::int32_t maxGeneration = 0;
};
LineageSummary summarise(const Lineage& lineage);

}  // namespace zibs
