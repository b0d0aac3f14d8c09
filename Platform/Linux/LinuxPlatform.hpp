#pragma once

#include "Platform/Platform.hpp"

namespace orrelith::platform {

// Every Linux service, ready to install. Initialises GTK: without a display (no X11 or Wayland server)
// the screens and the window system are left out and the rest works. Call on the main thread, once.
Services linuxServices();

} // namespace orrelith::platform
