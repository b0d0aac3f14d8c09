#pragma once

#include "OrrelithCore/KeyedData.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orrelith::platform {

// One preferences domain: values under string keys. Writes are kept at once in memory and stored before
// the call returns (a failed store is quiet: the value stays in memory for this process). Main thread only.
class UserDefaults : public orrelith::KeyedData {
public:
    // The bytes stored under `key`, or nothing when there is no value or it is not data.
    std::optional<std::string> dataForKey(std::string_view key) const override = 0;
    // The Boolean under `key`; false when there is none or it is not a Boolean.
    virtual bool boolForKey(std::string_view key) const = 0;
    virtual void setData(std::string_view key, std::string bytes) = 0;
    virtual void setBool(std::string_view key, bool value) = 0;
    virtual void removeObject(std::string_view key) = 0;
};

// Where preferences domains come from.
class Preferences {
public:
    virtual ~Preferences() = default;
    // The running application's own domain, named after its bundle identifier. Never null.
    virtual std::shared_ptr<UserDefaults> standardUserDefaults() = 0;
    // A screen-saver module's domain for the module name, or null when none can be had.
    virtual std::shared_ptr<UserDefaults> screenSaverDefaults(std::string_view moduleName) = 0;
    // From now on, whenever the standard domain's storage changes (another process's write, or this one's),
    // the domain is read afresh (standardUserDefaults answers a new object from then on; one kept from
    // before holds the old values) and then `handler` runs on the main thread, never inside this call. A
    // burst of writes may bring several calls. Null stops watching; a new handler replaces the one before.
    virtual void setStandardDefaultsChangeHandler(std::function<void()> handler) = 0;
};

} // namespace orrelith::platform
