#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/random.h"
#include "sim/presentation.h"
#include "sim/world.h"

namespace zibs::testing {

// Draws given in advance; running dry fails the test.
class ScriptedRandom : public RandomSource {
  public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> draws) : draws_(draws) {}
    void add(std::initializer_list<double> draws) { draws_.insert(draws_.end(), draws); }
    double next() override {
        if (draws_.empty()) {
            ADD_FAILURE() << "more random draws than scripted";
            return 0.0;
        }
        const double r = draws_.front();
        draws_.pop_front();
        return r;
    }
    std::size_t left() const { return draws_.size(); }

  private:
    std::deque<double> draws_;
};

// The draw that floor(r * n) maps to k.
inline double pick(int k, int n) {
    return (k + 0.5) / n;
}

// Records every call as a short text.
class RecordingView : public Presentation {
  public:
    std::vector<std::string> calls;
    bool autoUpdate = false;

    void drawzib(Integer i) override { calls.push_back("draw " + std::to_string(i)); }
    void erasezib(Integer i) override { calls.push_back("erase " + std::to_string(i)); }
    void drawdeadzib(Integer i) override { calls.push_back("dead " + std::to_string(i)); }
    void plotgrass(Integer x, Integer y, int w, Rgb c) override {
        calls.push_back("grass " + std::to_string(x) + " " + std::to_string(y) + " " +
                        std::to_string(w) + " " + std::to_string(c.r) + " " + std::to_string(c.g) +
                        " " + std::to_string(c.b));
    }
    void clearworld() override { calls.push_back("clearworld"); }
    void cleargraph() override { calls.push_back("cleargraph"); }
    void updategraph() override { calls.push_back("updategraph"); }
    void zibdataupdate() override { calls.push_back("zibdata"); }
    void zibupdate() override { calls.push_back("portrait"); }
    bool autozibupdate() const override { return autoUpdate; }
};

inline ZibCell cell(Integer kind, Integer capacity = 0, Integer use = 0, Integer food = 0,
                    Integer mode = 0) {
    return ZibCell{kind, capacity, use, food, mode};
}

// A living zib at (x, y) with mode 0, no target and an empty ring.
inline Zib zibAt(Integer x, Integer y) {
    Zib z;
    z.x = x;
    z.y = y;
    z.reproage = 3;
    z.alive = 1;
    return z;
}

// Position and target as "(x, y)", for readable comparisons.
inline std::string pos(const Zib& z) {
    return "(" + std::to_string(z.x) + ", " + std::to_string(z.y) + ")";
}
inline std::string goal(const Zib& z) {
    return "(" + std::to_string(z.goalx) + ", " + std::to_string(z.goaly) + ")";
}

}  // namespace zibs::testing
