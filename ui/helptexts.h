#pragma once

#include <QString>

namespace zibs {

// The Help menu's texts: every key of the program, and what the program is.
QString keysText();
QString aboutText();

}  // namespace zibs
