#pragma once

#include <string>
#include <utility>

namespace orrelith {

// What to tell the user after an installation. A plain value.
class InstallNotice {
public:
    enum class Kind { failed, none, installed };

    // Show the failure alert with this message.
    static InstallNotice failed(std::string message) {
        return InstallNotice(Kind::failed, std::move(message));
    }
    // Show nothing.
    static InstallNotice none() { return InstallNotice(Kind::none, {}); }
    // Show the "installed" alert.
    static InstallNotice installed() { return InstallNotice(Kind::installed, {}); }

    Kind kind() const { return kind_; }
    // The failure's message; empty for the other cases.
    const std::string& message() const { return message_; }

    bool operator==(const InstallNotice&) const = default;

private:
    InstallNotice(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

    Kind kind_;
    std::string message_;
};

} // namespace orrelith
