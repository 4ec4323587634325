#include "ui/Fworld.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>

#include "runtime/controls.h"
#include "runtime/convert.h"
#include "runtime/repaintpacer.h"
#include "sim/sim.h"
#include "ui/Fmain.h"
#include "ui/Fvariables.h"
#include "ui/forms.h"
#include "ui/graph.h"
#include "ui/statistics.h"
#include "ui/worlddocument.h"
#include "ui/zibfile.h"

namespace zibs {

namespace {

QPushButton* button(QWidget* parent, const char* caption, int left) {
    return placed(new QPushButton(caption, parent), left, 4410, 1515, 735);
}

constexpr int slowMotionDayMs = 50;

constexpr Rgb grey = RGB(127, 127, 127);
constexpr Rgb kindColour[] = {black, RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 0, 255)};

}  // namespace

Fworld::Fworld(Forms& forms)
    : ChildForm("Dovizura", 6525, 5265), pic(new PictureBox(this)), forms_(forms), dots_(pic) {
    pic->setBorder(true);
    placed(pic, 1020, 120, 4215, 4215);
    pic->setBackColor(black);
    pic->setScaleWidth(20);
    pic->setScaleHeight(20);
    pic->Cls();
    Command1 = button(this, "Initialize", 270);
    Command2 = button(this, "Go 1", 1800);
    Command3 = button(this, "Go 100", 3330);
    Command4 = button(this, "Go to end", 4860);
    slowTimer = new QTimer(this);
    slowTimer->setSingleShot(true);
    Command1->setToolTip("Start a new world from the parameters (Ctrl+I)");
    Command2->setToolTip("Run one day (Ctrl+1)");
    Command3->setToolTip("Run 100 days (Ctrl+G)");
    Command4->setToolTip("Run until the last zib has died (Ctrl+E)");

    connect(pic, &PictureBox::MouseDown, this, &Fworld::pic_MouseDown);
    connect(Command1, &QPushButton::clicked, this, &Fworld::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Fworld::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Fworld::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Fworld::Command4_Click);
    connect(this, &ChildForm::closed, this, [this] { closed_ = true; });
}

void Fworld::Form_Load() {
    if (forms_.runlog.empty()) return;
    drawworld();
    markShownDay();
}

void Fworld::Command1_Click() {
    const Fvariables& variables = forms_.get<Fvariables>();
    const ParameterCheck check = checkParameters(variables.texts());
    if (!check.values) {
        forms_.main.message(QString::fromStdString(check.error));
        return;
    }
    const std::string seedText = variables.seedText();
    const bool fromClock = seedText.find_first_not_of(" \t") == std::string::npos;
    const std::optional<std::uint32_t> seed = seedValue(seedText);
    if (!fromClock && !seed) {
        forms_.main.message(QStringLiteral("\"Seed\" must be a whole number from 0 to 4294967295, "
                                           "or empty for a seed from the clock; %1 is not "
                                           "accepted.")
                                .arg(QString::fromStdString(quotedText(seedText))));
        return;
    }
    // A run going on would carry on with the new world.
    if (forms_.main.cmdstop->isEnabled()) forms_.main.cmdstop_Click();
    if (fromClock) {
        forms_.rnd.seedFromTimer();
    } else {
        forms_.rnd.seed(*seed);
    }
    initworld(forms_.world, *check.values, forms_.rnd, *this);
    forms_.runlog.begin(forms_.rnd.currentSeed(), variables.texts(), *check.values, forms_.world,
                        forms_.rnd.state());
    forms_.main.showSeed(forms_.rnd.currentSeed());
    forms_.main.document().started();
    // The figures and the inspected zib are the new world's from its day 0 on.
    if (graph* g = forms_.existing<graph>()) g->showFigures(forms_.world);
    if (zibfile* inspector = forms_.existing<zibfile>()) inspector->showzib(forms_.world);
    if (dayMarked_) markShownDay();
}

void Fworld::Command2_Click() {
    if (!step()) dayLimitReached();
}

void Fworld::Command3_Click() {
    run(100);
}

void Fworld::Command4_Click() {
    run(0);
}

bool Fworld::step() {
    if (!daystep(forms_.world, forms_.rnd, *this)) return false;
    forms_.runlog.record(forms_.world, forms_.rnd);
    forms_.main.document().refresh();
    if (dayMarked_) markShownDay();
    return true;
}

void Fworld::run(int days) {
    Fmain& main = forms_.main;
    const World& world = forms_.world;
    QPointer<Fworld> self(this);
    main.runStarted();
    setStepButtonsEnabled(false);
    auto stopped = [&] { return !self || self->closed_ || main.stopRequested() || main.closing(); };
    // Every day draws into the pictures and sets the figures, and the window events run after it;
    // the screen follows at the display's pace, and shows the last day when the run ends.
    RepaintPacer pacer(&main);
    for (int done = 0; days == 0 || done < days; ++done) {
        QElapsedTimer dayTimer;
        dayTimer.start();
        if (!step()) {
            dayLimitReached();
            break;
        }
        QCoreApplication::processEvents();
        if (stopped()) break;
        if (main.slowMotion()) {
            // At most 20 days a second; the window goes on working while the run waits.
            const qint64 rest = slowMotionDayMs - dayTimer.elapsed();
            if (rest > 0) {
                // Stop or closing the window ends the wait there and then: the timer, even if
                // it is due in the same pass over the events, no longer fires.
                QEventLoop wait;
                auto cutShort = [this, &wait] {
                    slowTimer->stop();
                    wait.quit();
                };
                connect(slowTimer, &QTimer::timeout, &wait, &QEventLoop::quit);
                connect(&main, &Fmain::stopPressed, &wait, cutShort);
                connect(this, &ChildForm::closed, &wait, cutShort);
                slowTimer->start(static_cast<int>(rest));
                wait.exec();
            }
            if (stopped()) break;
        }
        if (days == 0 && world.population == 0) break;
    }
    main.runEnded();
    if (self) setStepButtonsEnabled(true);
}

void Fworld::setStepButtonsEnabled(bool enabled) {
    Command2->setEnabled(enabled);
    Command3->setEnabled(enabled);
    Command4->setEnabled(enabled);
}

void Fworld::dayLimitReached() {
    forms_.main.message(
        QStringLiteral("The day limit of %1 has been reached: no further day can run. "
                       "Press Initialize to start a new world.")
            .arg(dayLimit));
}

void Fworld::pic_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double x, double y) {
    World& world = forms_.world;
    // The pointer comes in single precision; the box edges are formed in double from it.
    const double px = static_cast<float>(x);
    const double py = static_cast<float>(y);
    const Integer n = std::min<Integer>(world.popstart, lastRecord);
    for (Integer i = 1; i <= n; ++i) {
        const Zib& z = world.zibs[i];
        if (!(px - 0.3 < z.x && z.x < px + 0.3 && py - 0.3 < z.y && z.y < py + 0.3)) continue;
        zibfile& inspector = forms_.get<zibfile>();
        showChildForm(&inspector);
        world.selzib = i;
        inspector.showzib(world);
    }
}

void Fworld::drawworld() {
    const World& world = forms_.world;
    clearworld();
    showgrass(world, *this);
    const Integer n = std::min<Integer>(world.popstart, lastRecord);
    for (Integer i = 1; i <= n; ++i) {
        if (world.zibs[i].alive) drawzib(i);
    }
}

bool Fworld::goToDay(int day) {
    RunLog& log = forms_.runlog;
    World& world = forms_.world;
    if (!log.holds(day) || day == world.day) return false;
    // The run would otherwise go on from the day shown.
    if (forms_.main.cmdstop->isEnabled()) forms_.main.cmdstop_Click();
    const RunStart shown = log.dayState(day);
    const Integer selzib = world.selzib;  // the user's pick, not part of the run
    world = shown.world;
    world.selzib = selzib;
    forms_.rnd.restore(log.seed(), shown.generator);
    log.moveTo(day);
    forms_.main.document().refresh();
    drawworld();
    if (graph* g = forms_.existing<graph>()) g->showFigures(world);
    if (zibfile* inspector = forms_.existing<zibfile>()) {
        inspector->zibdataupdate(world);
        inspector->zibupdate(world);
    }
    markShownDay();
    return true;
}

void Fworld::markShownDay() {
    const int day = forms_.world.day;
    dayMarked_ = !forms_.runlog.empty() && day < forms_.runlog.lastDay();
    if (graph* g = forms_.existing<graph>()) g->markDay(dayMarked_ ? day : -1);
    if (statistics* charts = forms_.existing<statistics>()) charts->markDay(dayMarked_ ? day : -1);
}

void Fworld::paintzib(Integer index, bool erase) {
    if (index < 0 || index > lastRecord) return;
    const Zib& z = forms_.world.zibs[index];
    const bool onGrid = z.x >= 0 && z.x < gridSize && z.y >= 0 && z.y < gridSize;
    auto dot = [&](int j, Rgb colour) {
        if (onGrid) return dots_.plot(WorldDots::zibPlace(z.x, z.y, j), colour);
        pic->setDrawWidth(2);
        pic->PSet(static_cast<float>(z.x + 0.3 * ring[j].dx),
                  static_cast<float>(z.y + 0.3 * ring[j].dy), colour);
    };
    dot(0, erase ? black : grey);
    for (int j = 1; j <= 8; ++j) {
        const Integer kind = z.cells[j].kind;
        if (kind <= 0 || (!erase && kind > eye)) continue;
        dot(j, erase ? black : kindColour[kind]);
    }
}

void Fworld::drawzib(Integer index) {
    paintzib(index, false);
}
void Fworld::erasezib(Integer index) {
    paintzib(index, true);
}
void Fworld::drawdeadzib(Integer index) {
    paintzib(index, true);
}

void Fworld::plotgrass(Integer x, Integer y, int drawWidth, Rgb colour) {
    if (drawWidth == 3 && x >= 0 && x < gridSize && y >= 0 && y < gridSize)
        return dots_.plot(WorldDots::grassPlace(x, y), colour);
    pic->setDrawWidth(drawWidth);
    pic->PSet(x, y, colour);
}

void Fworld::plotgrowngrass(const GrassShades& shades) {
    for (int x = 0; x < gridSize; ++x)
        for (int y = 0; y < gridSize; ++y)
            if (const GrassShade g = shades[x + gridSize * y]; g.shown)
                dots_.plot(WorldDots::grassPlace(x, y), g.colour);
}

void Fworld::clearworld() {
    pic->Cls();
    pic->setScaleWidth(20);
    pic->setScaleHeight(20);
}

void Fworld::cleargraph() {
    forms_.get<graph>().graphpic->Cls();
}
void Fworld::updategraph() {
    forms_.get<graph>().updategraph(forms_.world);
}
void Fworld::zibdataupdate() {
    forms_.get<zibfile>().zibdataupdate(forms_.world);
}
void Fworld::zibupdate() {
    forms_.get<zibfile>().zibupdate(forms_.world);
}
void Fworld::zibborn(const World& world, Integer parent, Integer child) {
    forms_.runlog.lineage().born(world, parent, child);
}
void Fworld::zibdied(const World& world, Integer index) {
    forms_.runlog.lineage().died(world, index);
}
bool Fworld::autozibupdate() const {
    return forms_.main.autoZibUpdate();
}

}  // namespace zibs
