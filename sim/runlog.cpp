#include "sim/runlog.h"

#include <cassert>
#include <iterator>
#include <utility>

#include "sim/sim.h"

namespace zibs {

void RunLog::begin(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                   const World& world, const Rnd::State& generator) {
    restore(seed, texts, params, {}, world, generator);
    record(world);
}

void RunLog::restore(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                     StatsHistory history, const World& world, const Rnd::State& generator,
                     const Lineage* lineage) {
    if (lineage) {
        lineage_ = *lineage;
    } else {
        lineage_.begin(world);
    }
    seed_ = seed;
    texts_ = texts;
    params_ = params;
    rows_ = std::move(history);
    later_.clear();
    kept_.clear();
    refusal_.clear();
    start_ = {world, generator};
    ++rewrites_;
    if (listener_) listener_();
}

void RunLog::record(const World& world) {
    if (!rows_.empty() && rows_.back().day >= world.day) ++rewrites_;
    while (!rows_.empty() && rows_.back().day >= world.day) rows_.pop_back();
    rows_.push_back(tally(world));
    if (!later_.empty()) {
        if (later_.back() == rows_.back()) {
            later_.pop_back();
        } else {
            // Not the day the run had: its later days and their snapshots belong to another run.
            later_.clear();
            kept_.erase(kept_.upper_bound(world.day), kept_.end());
        }
    }
    if (listener_) listener_();
}

void RunLog::record(const World& world, const Rnd& rnd) {
    record(world);
    keep(world, rnd);
}

void RunLog::keep(const World& world, const Rnd& rnd) {
    if (world.day % snapshotDays != 0 || world.day <= firstDay() || kept_.contains(world.day))
        return;
    kept_.emplace(world.day, RunStart{world, rnd.state()});
}

int RunLog::lastDay() const {
    if (!later_.empty()) return later_.front().day;
    return rows_.empty() ? firstDay() : rows_.back().day;
}

RunStart RunLog::dayState(int day) {
    assert(day >= firstDay() && day <= lastDay());
    const auto after = kept_.upper_bound(day);
    const RunStart& from = after == kept_.begin() ? start_ : std::prev(after)->second;
    World world = from.world;
    Rnd rnd;
    // The states were taken from an engine, so it can hold them.
    rnd.restore(seed_, from.generator);
    NullPresentation nothing;
    while (world.day < day && daystep(world, rnd, nothing)) keep(world, rnd);
    return {world, rnd.state()};
}

namespace {

// The state two runs share when one is the other computed again; the inspected zib is the
// user's pick and the day's counts are in the rows.
bool sameState(const World& a, const World& b) {
    return a.popstart == b.popstart && a.population == b.population && a.day == b.day &&
           a.reprorate == b.reprorate && a.maxgrass == b.maxgrass && a.growrate == b.growrate &&
           a.radiation == b.radiation && a.mutations == b.mutations && a.grass == b.grass &&
           a.zibs == b.zibs;
}

}  // namespace

std::string RunLog::rebuildStart() {
    if (refusal_.empty()) refusal_ = rebuiltStartProblem();
    return refusal_;
}

std::string RunLog::rebuiltStartProblem() {
    const int opened = firstDay();
    if (empty() || opened == 0) return {};
    // Records past the start population are left from whatever the file's world was built on:
    // births overwrite them whole before the day reads them, and the rest are never read.
    World world = start_.world;
    Rnd rnd(seed_);
    NullPresentation nothing;
    initworld(world, params_, rnd, nothing);
    const RunStart dayZero{world, rnd.state()};
    std::map<int, RunStart> kept;
    StatsHistory rows{tally(world)};
    while (world.day < opened && daystep(world, rnd, nothing)) {
        rows.push_back(tally(world));
        if (world.day % snapshotDays == 0) kept.emplace(world.day, RunStart{world, rnd.state()});
    }
    const auto at = [](int day) { return "day " + std::to_string(day); };
    if (world.day < opened) return "the rebuilt run ends on " + at(world.day);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (!(rows[k] == rows_[k])) return "its history differs from the rebuilt run on " + at(k);
    }
    if (!sameState(world, start_.world)) return "its world differs from the rebuilt " + at(opened);
    if (rnd.state() != start_.generator)
        return "its generator differs from the rebuilt " + at(opened);
    kept_.merge(kept);
    kept_.emplace(opened, start_);
    start_ = dayZero;
    return {};
}

void RunLog::moveTo(int day) {
    lineage_.seal();
    while (!rows_.empty() && rows_.back().day > day) {
        later_.push_back(rows_.back());
        rows_.pop_back();
    }
    while (!later_.empty() && later_.back().day <= day) {
        rows_.push_back(later_.back());
        later_.pop_back();
    }
}

StatsHistory RunLog::runRows() const {
    StatsHistory all = rows_;
    all.insert(all.end(), later_.rbegin(), later_.rend());
    return all;
}

std::string RunLog::csv() const {
    const auto n = [](long long v) { return std::to_string(v); };
    // Every row carries the seed and the parameters, so the file reads as one plain table.
    const std::string world = "," + n(seed_) + "," + n(params_.popstart) + "," +
                              n(params_.reprorate) + "," + n(params_.maxgrass) + "," +
                              n(params_.growrate) + "," + n(params_.radiation) + "," +
                              n(params_.mutations) + "\n";
    std::string out =
        "day,population,seed,start_population,repro_rate,max_grass,growth_rate,radiation,"
        "mutations\n";
    for (const DayStats& row : rows_) out += n(row.day) + "," + n(row.population) + world;
    return out;
}

}  // namespace zibs
