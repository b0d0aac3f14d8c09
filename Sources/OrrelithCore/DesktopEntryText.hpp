#pragma once

#include <string>

namespace orrelith {

// How desktop entries (the application's, the daemon's autostart entry) carry their values.
struct DesktopEntryText {
    // A string value: backslash and control characters escaped.
    static std::string value(const std::string& text);
    // One argument of Exec=, quoted so that the desktop reads back exactly `argument`; still to be written
    // through value().
    static std::string execArgument(const std::string& argument);
};

} // namespace orrelith
