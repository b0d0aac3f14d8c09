#pragma once

#include "OrrelithCore/Catalog.hpp"
#include "Saver/DisplayInfo.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {
class FakeSystem;
}

typedef struct _GtkWindow GtkWindow;

// What the options tools share: the real platform reading its catalog and stills from a given bundle,
// waiting for a window's frames, and pictures of windows.
namespace options_harness {

// Installs the Linux services, with the code's bundle answered by the bundle at `bundle`; the system
// answering it, whose `codeBundle` may be changed later.
std::shared_ptr<orrelith::platform::FakeSystem> install(const std::filesystem::path& bundle);
// Presents the window; answers the microseconds from `start` (g_get_monotonic_time) to the end of its
// first painted frame.
long long presentAndWaitForFrame(GtkWindow* window, long long start);
// Answers the microseconds from `start` to the end of the window's next painted frame.
long long waitForNextFrame(GtkWindow* window, long long start);
// Runs the main loop for a while, so that late layout and stills settle.
void settle(double seconds);
bool writePNG(GtkWindow* window, const std::filesystem::path& file);
// Two displays side by side, the right one higher and smaller.
std::vector<orrelith::DisplayInfo> twoDisplays();

} // namespace options_harness
