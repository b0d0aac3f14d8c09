#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "OrrelithCore/Settings.hpp"

namespace orrelith {

// The settings document on disk. A plain value naming a location; all operations are synchronous on the
// caller's thread. Writers replace the document atomically, so a concurrent reader sees the old or the new
// document, never part of one.
struct SettingsFile {
    // Larger files are not settings documents; refusing them keeps a hostile file from costing memory.
    static constexpr std::uintmax_t maxDocumentSize = 16U << 20;

    std::filesystem::path url;

    explicit SettingsFile(std::filesystem::path url) : url(std::move(url)) {}

    // "settings.json" in `folder` of Library/Application Support under `home`.
    static SettingsFile inSupport(const std::filesystem::path& home, std::string_view folder);

    // The decoded document, or nothing when it cannot be read or is not a settings document.
    std::optional<Settings> load() const;
    // Replaces the document through AtomicFile. Throws what AtomicFile throws, or std::invalid_argument when
    // the record cannot be encoded; after a failure the old document is untouched.
    void save(const Settings& settings) const;

    bool operator==(const SettingsFile&) const = default;
};

} // namespace orrelith
