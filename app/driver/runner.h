#pragma once

#include <istream>

#include "app/driver/session.h"
#include "app/driver/target.h"

namespace kbt2::driver {

// Runs the script line by line against the target. Returns the exit status:
// 0 at the end or when the window closed, 2 at a malformed line (reported on
// `errors` before that line has any effect).
int runScript(std::istream& script, Session& session, Target& target, std::ostream& errors);

}  // namespace kbt2::driver
