#include "OrrelithCore/SettingsStore.hpp"

namespace orrelith {

Settings SettingsStore::load() const {
    const auto data = defaults.dataForKey(key);
    if (!data) {
        return Settings();
    }
    try {
        return Settings::decode(*data);
    } catch (const DecodingError&) {
        return Settings();
    }
}

} // namespace orrelith
