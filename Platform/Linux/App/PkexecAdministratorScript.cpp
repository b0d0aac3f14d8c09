#include "Platform/Linux/App/PkexecAdministratorScript.hpp"

#include <cstdlib>
#include <sstream>

#include <glib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orrelith::platform {

namespace {

constexpr std::string_view prefix = "do shell script \"";
constexpr std::string_view suffix = "\" with administrator privileges";

// The string literal's body with its escapes undone, or nothing when it is not a well-formed body (a bare
// double quote would have ended the literal early; an unknown escape does not compile).
std::optional<std::string> unescaped(std::string_view body) {
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '"')
            return std::nullopt;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == body.size())
            return std::nullopt;
        switch (body[i]) {
        case '\\': text += '\\'; break;
        case '"': text += '"'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        default: return std::nullopt;
        }
    }
    return text;
}

std::string refusal(int status, const std::string& errors) {
    if (status == 126 || status == 127)
        return "The administrator password prompt was dismissed or refused.";
    auto message = "The command failed with status " + std::to_string(status) + ".";
    return errors.empty() ? message : message + " " + errors;
}

} // namespace

std::optional<std::string> PkexecAdministratorScript::command(std::string_view source) {
    if (source.size() < prefix.size() + suffix.size() || !source.starts_with(prefix) || !source.ends_with(suffix))
        return std::nullopt;
    return unescaped(source.substr(prefix.size(), source.size() - prefix.size() - suffix.size()));
}

std::optional<std::filesystem::path> PkexecAdministratorScript::pkexec() const {
    std::string path = searchPath_ ? *searchPath_ : (std::getenv("PATH") ? std::getenv("PATH") : "");
    std::stringstream folders(path);
    for (std::string folder; std::getline(folders, folder, ':');) {
        auto candidate = std::filesystem::path(folder.empty() ? "." : folder) / "pkexec";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> PkexecAdministratorScript::execute(const std::string& source) {
    auto shellCommand = command(source);
    if (!shellCommand)
        return "The script is not a shell command to run with administrator privileges.";
    auto program = pkexec();
    if (!program)
        return "There is no way to ask for administrator privileges here (pkexec is missing).";
    std::string words[] = {program->string(), "/bin/sh", "-c", *shellCommand};
    char* argv[] = {words[0].data(), words[1].data(), words[2].data(), words[3].data(), nullptr};
    gchar* errors = nullptr;
    gint status = 0;
    GError* error = nullptr;
    auto flags = static_cast<GSpawnFlags>(G_SPAWN_STDIN_FROM_DEV_NULL | G_SPAWN_STDOUT_TO_DEV_NULL);
    if (!g_spawn_sync(nullptr, argv, nullptr, flags, nullptr, nullptr, nullptr, &errors, &status, &error)) {
        std::string message = error ? error->message : "pkexec could not be started.";
        g_clear_error(&error);
        return message;
    }
    std::string errorText = errors ? g_strstrip(errors) : "";
    g_free(errors);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return std::nullopt;
    return refusal(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), errorText);
}

} // namespace orrelith::platform
