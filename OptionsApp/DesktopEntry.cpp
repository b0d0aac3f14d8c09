#include "OptionsApp/DesktopEntry.hpp"

#include "OrrelithCore/AtomicFile.hpp"
#include "OrrelithCore/DesktopEntryText.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Saver/OptionsSheet/Brand.hpp"

#include <fstream>
#include <iterator>

namespace orrelith {

namespace {

std::string contents(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

} // namespace

std::string DesktopEntry::text(const platform::Bundle& bundle) {
    auto name = bundle.info("CFBundleName").value_or(std::string(Brand::name) + " Options");
    std::string entry = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=" + DesktopEntryText::value(name) +
                        "\nComment=Choose the scenes, sound and timing of the " + std::string(Brand::name) +
                        " screen saver\n";
    if (bundle.executablePath)
        entry += "Exec=" + DesktopEntryText::value(DesktopEntryText::execArgument(bundle.executablePath->string())) +
                 "\nTryExec=" + DesktopEntryText::value(bundle.executablePath->string()) + "\n";
    auto icon = bundle.info("CFBundleIconFile");
    if (icon && bundle.resourcePath)
        entry += "Icon=" + DesktopEntryText::value((*bundle.resourcePath / *icon).string()) + "\n";
    entry += "Terminal=false\nCategories=Settings;DesktopSettings;\nStartupNotify=true\n";
    if (auto identifier = bundle.bundleIdentifier())
        entry += "StartupWMClass=" + DesktopEntryText::value(*identifier) + "\n";
    return entry;
}

std::filesystem::path DesktopEntry::file(const std::filesystem::path& home, const platform::Bundle& bundle) {
    return home / ".local" / "share" / "applications" / (bundle.bundleIdentifier().value_or("") + ".desktop");
}

void DesktopEntry::ensure(const std::filesystem::path& home, const platform::Bundle& bundle) {
    auto identifier = bundle.bundleIdentifier();
    if (!identifier || identifier->empty() || identifier->find('/') != std::string::npos || !bundle.executablePath)
        return;
    auto path = file(home, bundle);
    auto wanted = text(bundle);
    if (contents(path) == wanted)
        return;
    try {
        AtomicFile::write(path, wanted);
    } catch (const std::exception& error) {
        platform::system().log(std::string(Brand::name) + ": couldn't add the application to the desktop's list: " +
                               error.what());
    }
}

} // namespace orrelith
