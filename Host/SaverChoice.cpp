#include "Host/SaverChoice.hpp"

#include "Platform/Platform.hpp"
#include "Platform/System/UserDefaults.hpp"

namespace orrelith::host {

std::optional<std::string> SaverChoice::stored() {
    auto name = platform::preferences().standardUserDefaults()->dataForKey(key);
    // Another program may have written anything there: only a plain folder name is taken.
    if (!name || name->empty() || *name == "." || *name == ".." || name->find_first_of(std::string("/\0", 2)) != std::string::npos)
        return std::nullopt;
    return name;
}

HostOptions SaverChoice::applied(HostOptions options) {
    if (!options.bundle && options.saverName == HostOptions::defaultSaverName)
        options.saverName = stored().value_or(options.saverName);
    return options;
}

void SaverChoice::store(const std::string& name) { platform::preferences().standardUserDefaults()->setData(key, name); }

} // namespace orrelith::host
