#include <gtest/gtest.h>

#include "sim/params.h"
#include "sim/sim.h"
#include "testsupport.h"

namespace zibs {
namespace {

using namespace zibs::testing;

TEST(InitParameters, ConvertsOrRefusesNamingLabelTextAndRange) {
    const ParameterCheck defaults = checkParameters({});
    ASSERT_TRUE(defaults.values);
    EXPECT_EQ(defaults.values->popstart, 10);
    EXPECT_EQ(defaults.values->maxgrass, 15);
    EXPECT_EQ(defaults.values->radiation, 50);

    ParameterTexts t{"100.4", "-32768", "0.6", "32767", "-5", "2.5"};
    const ParameterCheck ok = checkParameters(t);
    ASSERT_TRUE(ok.values) << ok.error;
    EXPECT_EQ(ok.values->popstart, 100);
    EXPECT_EQ(ok.values->reprorate, -32768);
    EXPECT_EQ(ok.values->maxgrass, 1);
    EXPECT_EQ(ok.values->growrate, 32767);
    EXPECT_EQ(ok.values->radiation, -5);
    EXPECT_EQ(ok.values->mutations, 2);

    auto refused = [](ParameterTexts texts) {
        const ParameterCheck c = checkParameters(texts);
        EXPECT_FALSE(c.values);
        return c.error;
    };
    EXPECT_EQ(
        refused({"101"}),
        "\"Start population\" must be a whole number from 0 to 100; \"101\" is not accepted.");
    EXPECT_EQ(refused({"-0.6"}),
              "\"Start population\" must be a whole number from 0 to 100; \"-0.6\" is not "
              "accepted.");
    // The first refused text in window order is the one reported.
    EXPECT_EQ(
        refused({"1e9", "1e9"}),
        "\"Start population\" must be a whole number from 0 to 100; \"1e9\" is not accepted.");
    EXPECT_EQ(refused({"10", "32767.5"}),
              "\"Repro rate\" must be a whole number from -32768 to 32767; \"32767.5\" is not "
              "accepted.");
    EXPECT_EQ(refused({"10", "1", "0.5"}),
              "\"Max grass\" must be a whole number from 1 to 32767; \"0.5\" is not accepted.");
    EXPECT_EQ(refused({"10", "1", "-3"}),
              "\"Max grass\" must be a whole number from 1 to 32767; \"-3\" is not accepted.");
    EXPECT_NE(refused({"10", "1", "15", "-40000"}).find("\"Grass growth rate\""),
              std::string::npos);
    EXPECT_NE(refused({"10", "1", "15", "2", "99999"}).find("\"Radiation\""), std::string::npos);
    EXPECT_NE(refused({"10", "1", "15", "2", "5", "1e5"}).find("\"Cell mutations\""),
              std::string::npos);
}

TEST(Init, ScriptedDrawsFillGrassColumnByColumnThenEachZib) {
    World w;
    w.day = 77;
    w.zibs[1].spare2 = 9;  // left-overs of an earlier world
    w.zibs[1].cells[0] = cell(1, 2, 3, 4, 1);
    w.zibs[1].cells[5] = cell(0, 44, 7, 12, 2);
    w.zibs[1].cells[10] = cell(3, 3, 3, 3, 0);
    w.zibs[3] = zibAt(4, 4);  // above the new popstart: left alone

    // Draw t gives cell (t / 21, t % 21): x is the outer loop.
    RecordingView view;
    std::vector<double> draws(gridSize * gridSize, 0.0);
    draws[0] = 0.995;  // (0, 0): 49, green 250
    draws[1] = 0.505;  // (0, 1): 0, not drawn
    draws[21] = 0.51;  // (1, 0): 1, green 5
    draws[440] = 0.6;  // (20, 20): 10, green 51
    ScriptedRandom script;
    for (double d : draws) script.add({d});
    // Zib 1: x 19, y 0, mode 2, reproage 6; a store, a motor, an eye, then five empty cells.
    script.add({pick(19, 20), pick(0, 20), pick(2, 3), pick(3, 4)});
    script.add({pick(1, 4), pick(24, 25), pick(1, 3)});
    script.add({pick(2, 4), pick(0, 25), pick(0, 3)});
    script.add({pick(3, 4), pick(2, 3), pick(2, 3)});
    for (int j = 4; j <= 8; ++j) script.add({pick(0, 4), pick(1, 3)});
    // Zib 2: the lowest values of every field.
    script.add({0.0, 0.0, 0.0, 0.0, pick(3, 4), 0.0, 0.0});
    for (int j = 2; j <= 8; ++j) script.add({pick(1, 4), 0.0, 0.0});

    initworld(w, Parameters{2, 3, 20, 4, 5, 6}, script, view);
    EXPECT_EQ(script.left(), 0u);

    EXPECT_EQ(w.popstart, 2);
    EXPECT_EQ(w.population, 2);
    EXPECT_EQ(w.day, 0);
    EXPECT_EQ(w.reprorate, 3);
    EXPECT_EQ(w.maxgrass, 20);
    EXPECT_EQ(w.growrate, 4);
    EXPECT_EQ(w.radiation, 5);
    EXPECT_EQ(w.mutations, 6);
    EXPECT_EQ(w.grassAt(0, 0).amount, 49);
    EXPECT_EQ(w.grassAt(0, 1).amount, 0);
    EXPECT_EQ(w.grassAt(1, 0).amount, 1);
    EXPECT_EQ(w.grassAt(5, 5).amount, -50);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"cleargraph", "clearworld",
                                                    "grass 0 0 3 0 250 0", "grass 1 0 3 0 5 0",
                                                    "grass 20 20 3 0 51 0", "draw 1", "draw 2"}));

    Zib one = zibAt(19, 0);
    one.mode = 2;
    one.reproage = 6;
    one.cells[1] = cell(store, 49, 1, 49, 1);
    one.cells[2] = cell(motor, 25, 3, 0, 0);
    one.cells[3] = cell(eye, 3, 2, 0, 2);
    for (int j = 4; j <= 8; ++j) one.cells[j].mode = 1;
    EXPECT_EQ(w.zibs[1], one);  // cleared first: spares and cells 0, 5 and 10 are zero again

    const Zib& two = w.zibs[2];
    EXPECT_EQ(two.x, 0);
    EXPECT_EQ(two.reproage, 3);
    EXPECT_EQ(two.cells[1], cell(eye, 1, 2, 0, 0));
    EXPECT_EQ(two.cells[8], cell(store, 25, 1, 25, 0));
    EXPECT_EQ(w.zibs[3], zibAt(4, 4));
}

}  // namespace
}  // namespace zibs
