#include "OrrelithCore/InstallOutcome.hpp"

#include <utility>

namespace orrelith {

SaverSync InstallOutcome::afterError(std::string message, const std::optional<std::string>& installed,
                                     const std::string& wanted, const std::optional<std::string>& before) {
    if (!installed || *installed != wanted) {
        return SaverSync::failed(std::move(message));
    }
    return before ? SaverSync::updated() : SaverSync::fresh();
}

InstallNotice InstallOutcome::notice(const SaverSync& sync, RunMode mode) {
    if (mode == RunMode::checkOnly) {
        return InstallNotice::none();
    }
    switch (sync.kind()) {
    case SaverSync::Kind::failed:
        return InstallNotice::failed(sync.message());
    case SaverSync::Kind::fresh:
        return InstallNotice::installed();
    case SaverSync::Kind::updated:
    case SaverSync::Kind::unchanged:
        break;
    }
    return InstallNotice::none();
}

bool InstallOutcome::runsFromDiskImage(std::string_view path) {
    return path.starts_with("/Volumes/") || path.find("/AppTranslocation/") != std::string_view::npos;
}

} // namespace orrelith
