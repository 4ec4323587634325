// What the window tests share: the whole program on the offscreen platform, and the helpers and
// headers most of them use.
#pragma once

#include <QApplication>
#include <QMdiSubWindow>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>

#include <gtest/gtest.h>

#include "../core/shell.h"
#include "runtime/convert.h"
#include "runtime/picturebox.h"
#include "runtime/random.h"
#include "sim/sim.h"
#include "sim/trace.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/Fvariables.h"
#include "ui/Fworld.h"
#include "ui/forms.h"
#include "ui/graph.h"
#include "ui/worlddocument.h"
#include "ui/zibfile.h"

// Test messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace zibs {

// The whole program on the offscreen platform, with message boxes collected instead of shown.
struct AppTest : ::testing::Test {
    AppTest() {
        fmain.messageSink = [this](const QString& text) { messages << text; };
        fmain.document().askSource = [this](const QString& text) {
            messages << text;
            return answer;
        };
        fmain.show();
    }
    template <class Form>
    Form& window() {
        return fmain.forms().get<Form>();
    }
    template <class Form>
    Form* existing() {
        return fmain.forms().existing<Form>();
    }
    // Initialize with the seed, then "Go 100" `hundreds` times.
    Fworld& start(const QString& seed, int hundreds = 0) {
        window<Fvariables>().txtseed->setText(seed);
        Fworld& w = window<Fworld>();
        w.Command1->click();
        for (int i = 0; i < hundreds; ++i) w.Command3->click();
        return w;
    }

    World world;
    Rnd rnd{1};
    Fmain fmain{world, rnd};
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;  // to "Save the changes?"
};

// A living zib at (x, y) with the given kinds in ring cells 1, 2, ...
inline Zib zibAt(int x, int y, std::initializer_list<Integer> kinds) {
    Zib z{.x = static_cast<Integer>(x), .y = static_cast<Integer>(y), .alive = 1};
    for (int j = 1; Integer k : kinds) z.cells[j++].kind = k;
    return z;
}

// The world's state as zibs-run --trace prints it.
inline std::string trace(const World& w) {
    std::string out;
    appendTrace(out, w);
    return out;
}

// A world whose population never reaches 0: no records, but a population figure.
inline void makeEndless(World& world) {
    world.popstart = 0;
    world.population = 5;
}

inline Rgb pixelAt(const PictureBox& pic, double x, double y) {
    const QPoint p = pic.toPixel(x, y);
    return pic.pixelAt(p.x(), p.y());
}

}  // namespace zibs
