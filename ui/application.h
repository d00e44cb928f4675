#pragma once

namespace kestrova::ui {

// The whole run of the program: one copy, one window, its settings, until it closes.
int Run(int argc, char** argv);

}  // namespace kestrova::ui
