#pragma once

#include "Platform/Platform.hpp"

namespace orrelith::platform {

// What the process's windows will show. A process that shows plain colours only (the daemon's covers)
// draws them without a GL context, which would otherwise hold its memory for as long as the process runs.
enum class WindowContent { Anything, PlainColours };

// Every Linux service, ready to install. Initialises GTK: without a display (no X11 or Wayland server)
// the screens and the window system are left out and the rest works. Call on the main thread, once,
// before any other thread starts (it may change the process's environment).
Services linuxServices(WindowContent content = WindowContent::Anything);

} // namespace orrelith::platform
