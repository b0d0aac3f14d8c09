#include "OrrelithCore/SettingsFile.hpp"

#include <fstream>
#include <string>

#include "OrrelithCore/AtomicFile.hpp"

namespace orrelith {
namespace {

std::optional<std::string> readBounded(const std::filesystem::path& path, std::uintmax_t limit) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string text;
    char chunk[65536];
    while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(stream.gcount()));
        if (text.size() > limit) {
            return std::nullopt;
        }
    }
    return stream.bad() ? std::nullopt : std::optional(std::move(text));
}

} // namespace

SettingsFile SettingsFile::inSupport(const std::filesystem::path& home, std::string_view folder) {
    return SettingsFile(home / "Library/Application Support" / folder / "settings.json");
}

std::optional<Settings> SettingsFile::load() const {
    const auto text = readBounded(url, maxDocumentSize);
    if (!text) {
        return std::nullopt;
    }
    try {
        return Settings::decode(*text);
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

void SettingsFile::save(const Settings& settings) const {
    AtomicFile::write(url, settings.encode());
}

} // namespace orrelith
