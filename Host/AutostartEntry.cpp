#include "Host/AutostartEntry.hpp"

#include "OrrelithCore/AtomicFile.hpp"
#include "OrrelithCore/DesktopEntryText.hpp"

namespace orrelith::host {

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
           "Exec=" + DesktopEntryText::value(DesktopEntryText::execArgument(program.string())) + " --daemon\n"
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
