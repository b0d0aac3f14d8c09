#include "OrrelithCore/HomeFolder.hpp"

#include <cerrno>
#include <optional>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace orrelith {
namespace {

std::optional<std::filesystem::path> fromUserDatabase() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 4096);
    passwd entry{};
    passwd* found = nullptr;
    int status = 0;
    while ((status = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1U << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0 || found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(found->pw_dir);
}

} // namespace

std::filesystem::path HomeFolder::real() { return fromUserDatabase().value_or("/nonexistent"); }

} // namespace orrelith
