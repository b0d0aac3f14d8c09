#include "Platform/Linux/System/LinuxSystem.hpp"

#include "OrrelithCore/HomeFolder.hpp"

#include "Platform/Linux/System/PlistFile.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include <dlfcn.h>
#include <pwd.h>
#include <syslog.h>
#include <unistd.h>

namespace orrelith::platform {

namespace {

std::optional<std::filesystem::path> resolved(const std::filesystem::path& path) {
    std::error_code error;
    auto real = std::filesystem::canonical(path, error);
    if (error)
        return std::nullopt;
    return real;
}

} // namespace

std::optional<std::filesystem::path> LinuxSystem::bundleFolderHolding(const std::filesystem::path& file) {
    std::error_code error;
    for (auto folder = file.parent_path(); folder.has_relative_path(); folder = folder.parent_path())
        if (folder.filename() == "Contents" && std::filesystem::is_regular_file(folder / "Info.plist", error))
            return folder.parent_path();
    return std::nullopt;
}

std::optional<Bundle> LinuxSystem::bundleContaining(const void* codeAddress) {
    Dl_info info{};
    if (!codeAddress || dladdr(codeAddress, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return std::nullopt;
    // The main executable may be named as it was started, relative to a folder that may have been left
    // since: the kernel knows its real path.
    std::filesystem::path named(info.dli_fname);
    auto file = resolved(named.is_absolute() ? named : std::filesystem::path("/proc/self/exe"));
    auto folder = file ? bundleFolderHolding(*file) : std::nullopt;
    if (!folder)
        return std::nullopt;
    return bundleAt(*folder);
}

std::optional<Bundle> LinuxSystem::bundleAt(const std::filesystem::path& folder) {
    auto info = plistfile::readDictionary(folder / "Contents" / "Info.plist");
    if (!info)
        return std::nullopt;
    Bundle bundle;
    bundle.bundlePath = folder;
    std::error_code error;
    if (std::filesystem::is_directory(folder / "Contents" / "Resources", error))
        bundle.resourcePath = folder / "Contents" / "Resources";
    bundle.infoDictionary = plistfile::stringMembers(info.get());
    if (auto executable = bundle.info("CFBundleExecutable"); executable && !executable->empty())
        bundle.executablePath = folder / "Contents" / "Linux" / *executable;
    return bundle;
}

std::optional<Bundle> LinuxSystem::mainBundle() {
    auto executable = resolved("/proc/self/exe");
    auto folder = executable ? bundleFolderHolding(*executable) : std::nullopt;
    if (!folder)
        return std::nullopt;
    return bundleAt(*folder);
}

std::vector<std::string> LinuxSystem::splitCommandLine(const std::string& bytes) {
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\0', start);
        if (end == std::string::npos)
            end = bytes.size();
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::vector<std::string> LinuxSystem::arguments() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return splitCommandLine(bytes);
}

int LinuxSystem::processIdentifier() { return static_cast<int>(getpid()); }

std::filesystem::path LinuxSystem::homeFolder() { return HomeFolder::real(); }

std::optional<std::filesystem::path> LinuxSystem::downloadsFolder() {
    auto home = homeFolder();
    std::ifstream file(home / ".config" / "user-dirs.dirs", std::ios::binary);
    return downloadsFolderIn({std::istreambuf_iterator<char>(file), {}}, home);
}

std::optional<std::filesystem::path> LinuxSystem::downloadsFolderIn(const std::string& userDirs,
                                                                    const std::filesystem::path& home) {
    static const std::string key = "XDG_DOWNLOAD_DIR=\"";
    std::istringstream lines(userDirs);
    std::optional<std::string> named;
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(key) && line.size() > key.size() && line.back() == '"')
            named = line.substr(key.size(), line.size() - key.size() - 1);
    if (!named)
        return home / "Downloads";
    std::string value;
    for (std::size_t i = 0; i < named->size(); ++i)
        value += (*named)[i] == '\\' && i + 1 < named->size() ? (*named)[++i] : (*named)[i];
    std::filesystem::path folder;
    if (value == "$HOME" || value.starts_with("$HOME/"))
        folder = home / value.substr(std::min<std::size_t>(value.size(), 6));
    else if (value.starts_with("/"))
        folder = value;
    else
        return std::nullopt;
    folder = folder.lexically_normal();
    if (folder.filename().empty())
        folder = folder.parent_path();
    if (folder == home.lexically_normal())
        return std::nullopt;
    return folder;
}

void LinuxSystem::log(const std::string& message) { syslog(LOG_NOTICE, "%s", message.c_str()); }

} // namespace orrelith::platform
