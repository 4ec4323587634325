#include <QApplication>

#include "runtime/random.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/appicon.h"

// Start-up: the world lives here, outside every window, for the life of the program.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName("zibs");
    QApplication::setWindowIcon(zibs::appIcon());
    zibs::World world;
    zibs::Rnd rnd;
    zibs::Fmain fmain(world, rnd);  // its load handler sets the defaults
    fmain.setWindowState(Qt::WindowNoState);
    fmain.show();
    return app.exec();
}
