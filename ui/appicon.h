#pragma once

#include <QIcon>

namespace zibs {

// The program's icon, a zib on black, drawn from the SVG compiled into the program at the sizes
// window systems ask for. Every window shows it once it is the application's window icon.
QIcon appIcon();

}  // namespace zibs
