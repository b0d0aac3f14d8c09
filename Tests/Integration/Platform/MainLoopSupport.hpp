#pragma once

#include <functional>

// Runs GLib's default main context until `done` answers true or `seconds` have passed; answers `done()`.
bool pumpUntil(const std::function<bool()>& done, double seconds = 5.0);
// Runs the default main context for `seconds`.
void pumpFor(double seconds);
