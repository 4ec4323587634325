#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "runtime/random.h"
#include "sim/daystats.h"
#include "sim/lineage.h"
#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

// Where a run starts from: the world and the generator just after Initialize, or as a world
// file gave them. Every later day can be computed again from it.
struct RunStart {
    World world;
    Rnd::State generator{};
};

// What a world has done since its Initialize: its seed, the parameter texts and values it was
// built from, where the run started, and the day's figures of every day, for export and for
// saving the world.
//
// A run can be gone back in: any day from its start to the last day run is computed again from
// the start, or from the world and generator kept on every 512th day. The day the world is at is
// the log's current day: rows() is the world's history up to it, and the rows of the run's later
// days wait aside until those days are run again.
class RunLog {
  public:
    // A new world, just initialised: the rows start again with day 0.
    void begin(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
               const World& world, const Rnd::State& generator);
    // An opened world: where it came from, the history and lineage it brings, and the world and
    // generator as opened, from which its later days are computed. Without a lineage, the living
    // zibs become first zibs.
    void restore(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                 StatsHistory history, const World& world, const Rnd::State& generator,
                 const Lineage* lineage = nullptr);
    // The day just run. A day already in the log replaces its row and the rows after it. A day
    // run again after going back takes its row back from the later rows, which stay while the
    // days come out as they did (the world is deterministic, so they always do).
    void record(const World& world);
    // The same, and keeps the world and the generator on every snapshotDays-th day.
    void record(const World& world, const Rnd& rnd);

    static constexpr int snapshotDays = 512;
    // The days that can be shown again: from the run's start to the last day run.
    int firstDay() const { return start_.world.day; }
    int lastDay() const;
    bool holds(int day) const { return !empty() && day >= firstDay() && day <= lastDay(); }
    // The world and the generator at the end of `day` (firstDay()..lastDay()), computed with
    // nothing drawn from the nearest kept day before it; the snapshot days passed are kept.
    RunStart dayState(int day);
    // An opened world starts at the day it was saved on. Its seed and parameters build its day 0
    // again, and running that to the opened day gives back its earlier days, unless the file was
    // edited. Returns an empty text when the days come out as the file's (its history, world and
    // generator), and the run starts at day 0 from then on; otherwise why not, changing nothing,
    // and the same again without trying once more.
    std::string rebuildStart();
    // Why the opened world's earlier days cannot be rebuilt; empty until that has been found.
    const std::string& rebuildRefusal() const { return refusal_; }
    // Makes `day` (firstDay()..lastDay()) the current day: rows() ends with it.
    void moveTo(int day);

    // Who descends from whom over the whole run. The days run present it with their births and
    // deaths (Presentation::zibborn, zibdied); the days run again after going back are already
    // in it. A reader shows it as it was on the current day: lineage().at(currentDay()).
    Lineage& lineage() { return lineage_; }
    const Lineage& lineage() const { return lineage_; }
    int currentDay() const { return rows_.empty() ? firstDay() : rows_.back().day; }

    // Counts the changes to rows already in the log: a new world, an opened one, a day run again.
    // A reader that holds the rows up to some day reads them all again when it has moved on.
    std::uint64_t rewrites() const { return rewrites_; }
    // Called after every change of the rows: how a window that shows them learns of a new day,
    // at no cost to a run while there is no such window.
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // The rows of the whole run, also those after the current day while going back.
    std::size_t runDays() const { return rows_.size() + later_.size(); }
    StatsHistory runRows() const;

    bool empty() const { return rows_.empty(); }
    const StatsHistory& rows() const { return rows_; }
    std::uint32_t seed() const { return seed_; }
    const ParameterTexts& texts() const { return texts_; }
    const Parameters& params() const { return params_; }
    const RunStart& start() const { return start_; }

    // The header, then one row a day: day, population, and the seed and the six parameters of
    // the world, the same on every row.
    std::string csv() const;

  private:
    std::string rebuiltStartProblem();
    void keep(const World& world, const Rnd& rnd);

    std::uint32_t seed_ = 0;
    ParameterTexts texts_;
    Parameters params_;
    RunStart start_;
    StatsHistory rows_;
    StatsHistory later_;            // the rows after the current day, the last day first
    std::map<int, RunStart> kept_;  // snapshots by day, after the start
    std::uint64_t rewrites_ = 0;
    std::string refusal_;
    std::function<void()> listener_;
    Lineage lineage_;
};

}  // namespace zibs
