#pragma once

#include <optional>
#include <string>

namespace orrelith::platform {

// Runs a shell command as the administrator after one password prompt. Main thread; blocks until the
// command has finished or the prompt was dismissed.
class AdministratorScript {
public:
    virtual ~AdministratorScript() = default;
    // Accepts exactly the form
    //     do shell script "<command>" with administrator privileges
    // where <command> is written as a string literal (backslash and double quote escaped with a backslash).
    // Answers nothing when the command ran and exited with status 0; otherwise an error text: a script of
    // any other form, a dismissed or refused prompt, a command that failed.
    virtual std::optional<std::string> execute(const std::string& source) = 0;
};

} // namespace orrelith::platform
