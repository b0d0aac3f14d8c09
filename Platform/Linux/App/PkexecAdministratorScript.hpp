#pragma once

#include "Platform/App/AdministratorScript.hpp"

#include <filesystem>

namespace orrelith::platform {

// Runs the command of an administrator script as `pkexec /bin/sh -c <command>`. pkexec is looked for in
// the folders of `searchPath` (colon-separated, as $PATH), read from the environment at each call when
// none is given. Exit status 126 (prompt dismissed) and 127 (not authorised) are the prompt's refusals;
// any other non-zero status is the command's failure.
class PkexecAdministratorScript : public AdministratorScript {
public:
    PkexecAdministratorScript() = default;
    explicit PkexecAdministratorScript(std::string searchPath) : searchPath_(std::move(searchPath)) {}

    std::optional<std::string> execute(const std::string& source) override;

    // The shell command an administrator script carries, with the string literal's escapes undone; nothing
    // when the script has any other form.
    static std::optional<std::string> command(std::string_view source);

private:
    std::optional<std::filesystem::path> pkexec() const;

    std::optional<std::string> searchPath_;
};

} // namespace orrelith::platform
