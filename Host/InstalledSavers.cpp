#include "Host/InstalledSavers.hpp"

#include <algorithm>

namespace orrelith::host {

namespace {

void addFrom(const std::filesystem::path& folder, InstalledSaver::Scope scope, std::vector<InstalledSaver>& savers) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const auto& path = entry.path();
        if (path.extension() != ".saver" || path.stem().empty() || !entry.is_directory(error))
            continue;
        auto name = path.stem().string();
        bool hidden = std::any_of(savers.begin(), savers.end(), [&](const auto& saver) { return saver.name == name; });
        if (!hidden)
            savers.push_back({name, path, scope});
    }
}

} // namespace

std::vector<InstalledSaver> InstalledSavers::list(const std::filesystem::path& userFolder,
                                                  const std::filesystem::path& systemFolder) {
    std::vector<InstalledSaver> savers;
    addFrom(userFolder, InstalledSaver::Scope::User, savers);
    addFrom(systemFolder, InstalledSaver::Scope::System, savers);
    std::sort(savers.begin(), savers.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return savers;
}

} // namespace orrelith::host
