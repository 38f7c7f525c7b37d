#pragma once
// The window's menu bar: File and Help, each entry a call into the
// document's actions.

#include <QMenuBar>

#include "ui/document_actions.h"

namespace kbt2::ui {

void buildMenuBar(QMenuBar* bar, DocumentActions& actions);

}  // namespace kbt2::ui
