#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "files/filewriter.h"
#include "runtime/convert.h"
#include "runtime/random.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/appicon.h"

namespace {

// --help and --version print a text and end the program: they need no display.
bool onlyPrints(int argc, char** argv) {
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            return true;
        }
    }
    return false;
}

// Prints help or version and exits when asked to; refuses options it does not know and more
// than one file. Returns the world file to open, if one is given.
QString readCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        // QCommandLineParser prints it as it is: broken by hand within 79 columns.
        "A simulation of artificial life: zibs live, eat grass, breed, mutate and die\n"
        "on a 21 x 21 grid of grass.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "A world file (.zibs) to open at start.", "[file]");
    // An option it does not know is named with control characters escaped: a name typed or
    // pasted must not steer the terminal.
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "zibs: %s\n",
                     zibs::escapedText(parser.errorText().toStdString()).c_str());
        std::exit(1);
    }
    parser.process(app);  // answers --help and --version
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "zibs: one world file at most; %d were given.\n",
                     static_cast<int>(files.size()));
        std::exit(1);
    }
    return files.value(0);
}

}  // namespace

// Start-up: the world lives here, outside every window, for the life of the program.
int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("zibs");
    QCoreApplication::setApplicationVersion(ZIBS_VERSION);
    if (onlyPrints(argc, argv)) {
        const QCoreApplication app(argc, argv);
        readCommandLine(app);
        return 0;
    }
    zibs::guardTemporaryFiles();
    QApplication app(argc, argv);  // takes Qt's own options (-platform, -style, ...) first
    const QString file = readCommandLine(app);
    QGuiApplication::setDesktopFileName("zibs");
    QApplication::setWindowIcon(zibs::appIcon());
    zibs::World world;
    zibs::Rnd rnd;
    zibs::Fmain fmain(world, rnd);  // its load handler sets the defaults
    fmain.setWindowState(Qt::WindowNoState);
    fmain.show();
    // A file that cannot be opened is reported, and the program starts as it always does.
    if (!file.isEmpty()) fmain.openWorld(file);
    return app.exec();
}
