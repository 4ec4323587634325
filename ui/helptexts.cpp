#include "ui/helptexts.h"

namespace zibs {

QString keysText() {
    return QStringLiteral(
        "File\n"
        "  Ctrl+O\tOpen world...\n"
        "  Ctrl+S\tSave world\n"
        "  Ctrl+Shift+S\tSave world as...\n"
        "  Ctrl+Q\tQuit\n"
        "\n"
        "World window\n"
        "  Ctrl+I\tInitialize\n"
        "  Ctrl+1\tGo 1\n"
        "  Ctrl+G\tGo 100\n"
        "  Ctrl+E\tGo to end\n"
        "  Esc\tStop\n"
        "\n"
        "Days of the run\n"
        "  Ctrl+Left\tone day back\n"
        "  Ctrl+Right\tone day forward\n"
        "\n"
        "Windows\n"
        "  Ctrl+T\tStatistics\n"
        "  Ctrl+L\tLineages\n"
        "\n"
        "Menus\n"
        "  Alt+F\tFile\n"
        "  Alt+O\tOptions\n"
        "  Alt+H\tHelp");
}

QString aboutText() {
    return QStringLiteral(
               "<b>Zibs %1</b><p>A simulation of artificial life: zibs live, eat grass, breed, "
               "mutate and die on a 21 x 21 grid of grass.</p><p>Initialize starts a world from "
               "the parameters; Go 1, Go 100 and Go to end run its days. Worlds are saved to and "
               "opened from .zibs files.</p>")
        .arg(QStringLiteral(ZIBS_VERSION));
}

}  // namespace zibs
