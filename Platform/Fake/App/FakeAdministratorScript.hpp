#pragma once

#include "Platform/App/AdministratorScript.hpp"

#include <vector>

namespace orrelith::platform {

// Records each script and answers the outcome a test sets (success unless `error` holds a text).
class FakeAdministratorScript : public AdministratorScript {
public:
    std::optional<std::string> execute(const std::string& source) override {
        scripts.push_back(source);
        return error;
    }

    std::optional<std::string> error;
    std::vector<std::string> scripts;
};

} // namespace orrelith::platform
