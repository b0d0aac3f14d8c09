#include "Host/AutostartEntry.hpp"

#include "OrrelithCore/AtomicFile.hpp"

namespace orrelith::host {

namespace {

// The program as one quoted argument of Exec, then escaped once more as a desktop-entry string value.
std::string execArgument(const std::string& program) {
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        // A lone percent sign would start a field code.
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

} // namespace

std::filesystem::path AutostartEntry::file(const std::filesystem::path& home, const char* xdgConfigHome) {
    std::filesystem::path config = xdgConfigHome ? std::filesystem::path(xdgConfigHome) : std::filesystem::path();
    if (!config.is_absolute())
        config = home / ".config";
    return config / "autostart" / fileName;
}

std::string AutostartEntry::contents(const std::filesystem::path& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quorvane screen saver\n"
           "Comment=Shows the screen saver once you have been idle for the delay chosen in its settings\n"
           "Exec=" + execArgument(program.string()) + " --daemon\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

void AutostartEntry::install(const std::filesystem::path& file, const std::filesystem::path& program) {
    AtomicFile::write(file, contents(program));
}

void AutostartEntry::remove(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

} // namespace orrelith::host
