#pragma once

#include <stdexcept>
#include <string>

namespace orrelith::host {

// Why the host cannot run, in words for the user, with the exit status it ends with.
class HostError : public std::runtime_error {
public:
    enum class Kind { Usage, Failure };

    HostError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

    Kind kind() const { return kind_; }
    // 2 for a command line the host does not understand, 1 for everything else.
    int exitStatus() const { return kind_ == Kind::Usage ? 2 : 1; }

private:
    Kind kind_;
};

} // namespace orrelith::host
