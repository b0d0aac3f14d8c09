#include "Platform/Linux/App/GlibProgramRunner.hpp"

#include <glib.h>

namespace orrelith::platform {

std::string GlibProgramRunner::run(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    gchar* output = nullptr;
    GError* error = nullptr;
    auto flags = static_cast<GSpawnFlags>(G_SPAWN_STDIN_FROM_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL);
    if (!g_spawn_sync(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, &output, nullptr, nullptr, &error)) {
        g_clear_error(&error);
        return {};
    }
    gchar* valid = g_utf8_make_valid(output ? output : "", -1);
    std::string text(valid);
    g_free(valid);
    g_free(output);
    return text;
}

} // namespace orrelith::platform
