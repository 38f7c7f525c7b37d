#pragma once

#include "worksheet/platform.h"

namespace kbt2 {

// Exit (Command1): closes the main window, which ends the program.
inline void exitClick(Platform& platform) { platform.closeWindow(); }

}  // namespace kbt2
