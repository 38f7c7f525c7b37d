#pragma once
// The driver's `compare`: Calculate Premium on a copy of each scenario.

#include "app/driver/session.h"
#include "commands/case.h"

namespace kbt2::driver {

// Prints, for each scenario in order, SCENARIO "NAME" and what Calculate
// Premium followed by a read of Text18 would print on a copy of it: its
// message boxes, each answered OK without touching the script's queued
// answers, and the three fields. No scenario changes; nothing closes.
void compareScenarios(const Case& scenarios, Session& session);

}  // namespace kbt2::driver
