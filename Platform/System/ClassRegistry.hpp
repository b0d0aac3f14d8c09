#pragma once

#include "Platform/Views/ScreenSaverView.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orrelith::platform {

// The plug-in's classes by plain name, so that a host can create the principal class that a bundle's
// Info.plist names. Process-wide, shared by the host and the plug-ins it loads. Main thread only.
struct ClassRegistry {
    struct Entry {
        std::function<std::shared_ptr<ScreenSaverView>(const Rect& frame, SaverMode mode)> withFrame;
        std::function<std::shared_ptr<ScreenSaverView>(const Archive& archive)> withArchive;
    };

    // Replaces any class registered under the same name.
    static void registerClass(const std::string& name, Entry entry);
    static std::optional<Entry> lookup(const std::string& name);
    static void unregisterClass(const std::string& name);
};

} // namespace orrelith::platform
