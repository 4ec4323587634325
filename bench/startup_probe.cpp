// Start-up probe for startup_bench: starts the program as its main does, and reports on standard
// output the CLOCK_MONOTONIC time at which the main window has been shown, that is when its first
// paint has been done. With --go100 it then opens the world window, initialises a world of 100
// zibs, runs "Go 100" and reports the process's peak resident memory (VmHWM).
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "runtime/random.h"
#include "sim/sim.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/Fworld.h"
#include "ui/forms.h"

namespace {

long long monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1'000'000'000LL + ts.tv_nsec;
}

// Peak resident set size of this process in KiB, 0 when unknown.
long long peakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atoll(line.c_str() + 6);
    }
    return 0;
}

// Ends an event loop at the first paint event of the watched widget.
class FirstPaint : public QObject {
  public:
    FirstPaint(QWidget* widget, QEventLoop* loop) : loop_(loop) {
        widget->installEventFilter(this);
    }
    bool painted = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            // Leave after this paint and the flush that follows it.
            QTimer::singleShot(0, loop_, &QEventLoop::quit);
        }
        return false;
    }

  private:
    QEventLoop* loop_;
};

// The probe's output is read by a program: keep the platform's notes off the terminal.
void silent(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
    const bool go100 = argc > 1 && std::strcmp(argv[1], "--go100") == 0;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    qInstallMessageHandler(silent);

    // As the program's main: the application, the world, the generator, the main window.
    QApplication app(argc, argv);
    zibs::World world;
    zibs::Rnd rnd;
    zibs::Fmain fmain(world, rnd);
    fmain.messageSink = [](const QString&) {};
    QEventLoop loop;
    FirstPaint watch(&fmain, &loop);
    fmain.setWindowState(Qt::WindowNoState);
    fmain.show();
    if (!watch.painted) {
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const long long shown = monotonicNs();
    if (!watch.painted) return 1;
    std::printf("shown_ns %lld\n", shown);

    if (go100) {
        fmain.cmd_Click(0);  // "World"
        fmain.cmd_Click(1);  // "Graph"
        zibs::Fworld& fworld = fmain.forms().get<zibs::Fworld>();
        zibs::Parameters params;
        params.popstart = 100;
        rnd.seed(1);
        zibs::initworld(world, params, rnd, fworld);
        fworld.pic_MouseDown(Qt::LeftButton, Qt::NoModifier, world.zibs[1].x, world.zibs[1].y);
        fworld.Command3_Click();
        QCoreApplication::processEvents();
        std::printf("peak_kib %lld\n", peakKiB());
    }
    std::fflush(stdout);
    return 0;
}
