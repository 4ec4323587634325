#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "runtime/convert.h"
#include "sim/sim.h"

namespace zibs::testing {

// Draws given in advance. Running dry, or leaving draws unused, fails the test.
struct ScriptedRandom : RandomSource {
    std::deque<double> draws;

    ScriptedRandom(std::initializer_list<double> d = {}) : draws(d) {}
    explicit ScriptedRandom(std::size_t zeros) : draws(zeros, 0.0) {}  // draws that are all 0
    ~ScriptedRandom() override { EXPECT_TRUE(draws.empty()) << draws.size() << " draws unused"; }
    void add(std::initializer_list<double> d) { draws.insert(draws.end(), d); }
    double next() override {
        if (draws.empty()) ADD_FAILURE() << "more random draws than scripted";
        const double r = draws.empty() ? 0.0 : draws.front();
        if (!draws.empty()) draws.pop_front();
        return r;
    }
};

// The draw that floor(r * n) maps to k.
inline double pick(int k, int n) {
    return (k + 0.5) / n;
}

// Records every call, comma separated: "erase 1, grass 5 5 153, draw 1" (x, y and green).
struct RecordingView : Presentation {
    std::string log;
    bool autoUpdate = false;

    void say(const std::string& s) { log += (log.empty() ? "" : ", ") + s; }
    void drawzib(Integer i) override { say("draw " + std::to_string(i)); }
    void erasezib(Integer i) override { say("erase " + std::to_string(i)); }
    void drawdeadzib(Integer i) override { say("dead " + std::to_string(i)); }
    void plotgrass(Integer x, Integer y, int w, Rgb c) override {
        EXPECT_TRUE(w == 3 && c.r == 0 && c.b == 0) << "grass is plotted green, pen width 3";
        say("grass " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(c.g));
    }
    void clearworld() override { say("clearworld"); }
    void cleargraph() override { say("cleargraph"); }
    void updategraph() override { say("updategraph"); }
    void zibdataupdate() override { say("zibdata"); }
    void zibupdate() override { say("portrait"); }
    bool autozibupdate() const override { return autoUpdate; }
};

inline ZibCell cell(Integer kind, Integer capacity = 0, Integer use = 0, Integer food = 0,
                    Integer mode = 0) {
    return ZibCell{kind, capacity, use, food, mode};
}
inline ZibCell food(Integer capacity, Integer amount, Integer use = 0) {
    return ZibCell{store, capacity, use, amount, 0};
}

// A living zib at (x, y) with mode 0, reproage 3, no target and the given ring cells.
inline Zib zibAt(Integer x, Integer y, std::initializer_list<std::pair<int, ZibCell>> cells = {}) {
    Zib z{.x = x, .y = y, .reproage = 3, .alive = 1};
    for (const auto& [j, c] : cells) z.cells[j] = c;
    return z;
}

// A zib whose ring cell j is a store of capacity j, so turns can be followed.
inline Zib ringed() {
    Zib z{.x = 6, .y = 7, .goalx = 2, .goaly = 3, .reproage = 3, .alive = 1};
    for (int j = 1; j <= 8; ++j) z.cells[j] = food(static_cast<Integer>(j), 1, 1);
    return z;
}

// A world whose grass all stands at `amount`, with the given zibs alive in records 1 to n.
inline World worldOf(Integer amount, std::initializer_list<Zib> zibs = {}) {
    World w;
    for (GrassCell& g : w.grass) g.amount = amount;
    w.maxgrass = 20;
    for (const Zib& z : zibs) w.zibs[++w.popstart] = z;
    w.population = w.popstart;
    return w;
}

// Position and target, "(x, y) to (goalx, goaly)"; one field of ring cells 1 to 8.
inline std::string where(const Zib& z) {
    return "(" + std::to_string(z.x) + ", " + std::to_string(z.y) + ") to (" +
           std::to_string(z.goalx) + ", " + std::to_string(z.goaly) + ")";
}
inline std::string ringOf(const Zib& z, Integer ZibCell::*field) {
    std::string s;
    for (int j = 1; j <= 8; ++j) s += (j > 1 ? " " : "") + std::to_string(z.cells[j].*field);
    return s;
}

// What must hold of a world after every day, whatever the parameters.
inline ::testing::AssertionResult soundWorld(const World& w) {
    const auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    if (!in(w.popstart, 0, lastRecord) || !in(w.selzib, 0, lastRecord) || w.day < 0)
        return ::testing::AssertionFailure() << "globals";
    int living = 0;
    for (int i = 1; i <= lastRecord; ++i) {
        const Zib& z = w.zibs[i];
        const bool noGoal = z.goalx == 0 && z.goaly == 0;
        bool ok = z == Zib{} || (in(z.x, 0, 20) && in(z.y, 0, 20) && in(z.alive, 0, 1) &&
                                 in(z.mode, 0, 2) && z.age >= 0 && in(z.reproage, 3, 6) &&
                                 (noGoal || (in(z.goalx, 1, 20) && in(z.goaly, 1, 20))));
        for (int j = 0; j <= 10; ++j) {
            const ZibCell& c = z.cells[j];
            ok = ok && ((j >= 1 && j <= 8) ? in(c.kind, 0, 3) && in(c.mode, 0, 2) && c.food >= 0
                                           : c == ZibCell{});
        }
        if (!ok) return ::testing::AssertionFailure() << "zib " << i << " " << where(z);
        if (i <= w.popstart) living += z.alive;
    }
    if (w.population != living) return ::testing::AssertionFailure() << "population";
    return ::testing::AssertionSuccess();
}

}  // namespace zibs::testing
