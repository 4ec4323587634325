#include "shell.h"
#include "testsupport.h"

namespace zibs::testing {

// The cases: tests/data/parameter_texts.txt.
TEST(InitParameters, ConvertsOrRefusesNamingLabelTextAndRange) {
    for (const auto& c : cases("parameter_texts.txt")) {
        const ParameterCheck check = checkParameters(textsOf(c[0]));
        std::string got = check.error;
        if (const auto& p = check.values)
            for (Integer v :
                 {p->popstart, p->reprorate, p->maxgrass, p->growrate, p->radiation, p->mutations})
                got += (got.empty() ? "" : " ") + std::to_string(v);
        EXPECT_EQ(got, c[1]) << c[0];
    }
}

TEST(Init, ScriptedDrawsFillGrassColumnByColumnThenEachZib) {
    World w;
    w.day = 77;
    w.zibs[1].spare2 = 9;  // left-overs of an earlier world
    w.zibs[1].cells[10] = cell(eye, 3, 3, 3, 0);

    // Draw t gives grass (t / 21, t % 21): x is the outer loop.
    ScriptedRandom rnd(gridSize * gridSize);
    rnd.draws[0] = 0.995;  // (0, 0): 49, green 250
    rnd.draws[1] = 0.505;  // (0, 1): 0, not drawn
    rnd.draws[21] = 0.51;  // (1, 0): 1, green 5
    rnd.draws[440] = 0.6;  // (20, 20): 10, green 51
    // Zib 1: x 19, y 0, mode 2, reproage 6, then cells 1 to 3 (kind, capacity, mode): a store
    // of 49 in mode 1, a motor of 25 in mode 0, an eye of 3 in mode 2; five empty cells in mode 1.
    rnd.add({pick(19, 20), pick(0, 20), pick(2, 3), pick(3, 4), pick(1, 4), pick(24, 25)});
    rnd.add({pick(1, 3), pick(2, 4), pick(0, 25), pick(0, 3), pick(3, 4), pick(2, 3), pick(2, 3)});
    for (int j = 4; j <= 8; ++j) rnd.add({pick(0, 4), pick(1, 3)});
    // Zib 2: the lowest values of every field; an eye, then seven stores.
    rnd.add({0.0, 0.0, 0.0, 0.0, pick(3, 4), 0.0, 0.0});
    for (int j = 2; j <= 8; ++j) rnd.add({pick(1, 4), 0.0, 0.0});
    RecordingView view;
    initworld(w, Parameters{2, 3, 20, 4, 5, 6}, rnd, view);

    EXPECT_EQ((std::array{w.popstart, w.population, w.day, w.reprorate, w.maxgrass, w.growrate,
                          w.radiation, w.mutations, w.grassAt(5, 5).amount}),
              (std::array<Integer, 9>{2, 2, 0, 3, 20, 4, 5, 6, -50}));
    EXPECT_EQ(view.log,
              "cleargraph, clearworld, grass 0 0 250, grass 1 0 5, grass 20 20 51, draw 1, draw 2");
    Zib one = zibAt(19, 0, {{1, cell(store, 49, 1, 49, 1)}, {2, cell(motor, 25, 3, 0, 0)}});
    one.cells[3] = cell(eye, 3, 2, 0, 2);
    one.mode = 2;
    one.reproage = 6;
    for (int j = 4; j <= 8; ++j) one.cells[j].mode = 1;
    EXPECT_EQ(w.zibs[1], one);  // cleared first: the spare and cell 10 are zero again
    Zib two = zibAt(0, 0, {{1, cell(eye, 1, 2)}});
    for (int j = 2; j <= 8; ++j) two.cells[j] = food(25, 25, 1);
    EXPECT_EQ(w.zibs[2], two);
}

}  // namespace zibs::testing
