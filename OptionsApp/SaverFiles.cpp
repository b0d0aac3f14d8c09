#include "OptionsApp/SaverFiles.hpp"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>

namespace orrelith {

namespace {

[[noreturn]] void fail(int code, const std::string& what) {
    throw std::system_error(code, std::generic_category(), what);
}

void renameOrFail(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0)
        fail(errno, "Couldn't put the screen saver in place at " + to.string());
}

void renameAside(const std::filesystem::path& replacement, const std::filesystem::path& installed) {
    auto aside = replacement;
    aside += ".old";
    std::error_code ignored;
    std::filesystem::remove_all(aside, ignored);
    renameOrFail(installed, aside);
    if (std::rename(replacement.c_str(), installed.c_str()) != 0) {
        int code = errno;
        std::rename(aside.c_str(), installed.c_str());
        fail(code, "Couldn't put the screen saver in place at " + installed.string());
    }
    renameOrFail(aside, replacement);
}

} // namespace

void SaverFiles::replace(const std::filesystem::path& replacement, const std::filesystem::path& installed,
                         Exchange exchange) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(installed, error))) {
        renameOrFail(replacement, installed);
        return;
    }
    if (exchange == Exchange::renameAside) {
        renameAside(replacement, installed);
        return;
    }
    if (::renameat2(AT_FDCWD, replacement.c_str(), AT_FDCWD, installed.c_str(), RENAME_EXCHANGE) == 0)
        return;
    // EINVAL: this file system cannot exchange (overlayfs on older kernels, some network file systems).
    if (errno == EINVAL || errno == ENOSYS)
        renameAside(replacement, installed);
    else
        fail(errno, "Couldn't put the screen saver in place at " + installed.string());
}

SaverFiles SaverFiles::real() {
    SaverFiles files;
    files.createFolder = [](const std::filesystem::path& folder) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error)
            fail(error.value(), "Couldn't create the folder " + folder.string());
    };
    files.copy = [](const std::filesystem::path& from, const std::filesystem::path& to) {
        std::error_code error;
        std::filesystem::copy(from, to,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks,
                              error);
        if (error)
            fail(error.value(), "Couldn't copy the screen saver to " + to.string());
    };
    files.putInPlace = [](const std::filesystem::path& replacement, const std::filesystem::path& installed) {
        replace(replacement, installed, Exchange::atomic);
    };
    return files;
}

} // namespace orrelith
