#include "Saver/OptionsStore.hpp"

#include "OrrelithCore/SettingsFile.hpp"
#include "OrrelithCore/SettingsStore.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"

namespace orrelith {

std::shared_ptr<platform::UserDefaults> OptionsStore::legacyDefaults() {
    auto& preferences = platform::preferences();
    if (auto module = preferences.screenSaverDefaults(legacyModuleName))
        return module;
    return preferences.standardUserDefaults();
}

Settings OptionsStore::load() {
    if (auto document = SettingsFile::inSupport(platform::system().homeFolder(), "ORVEX").load())
        return *document;
    if (legacyDefaults()->dataForKey(SettingsStore::key)) {
        // Opened afresh, as a reader of the legacy store always does.
        auto defaults = legacyDefaults();
        return SettingsStore(*defaults).load();
    }
    Settings settings;
    settings.shuffleInterval = 30;
    return settings;
}

} // namespace orrelith
