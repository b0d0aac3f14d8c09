#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orrelith {

// Bytes stored under a key, as a preferences store keeps them. The platform's user defaults implement it so
// that the core can read stored records without depending on the platform.
// Threading: called on the caller's thread; implementations need not be thread-safe.
class KeyedData {
public:
    virtual ~KeyedData() = default;
    // The bytes under `key` (held in a std::string), or nothing when the key holds no data.
    virtual std::optional<std::string> dataForKey(std::string_view key) const = 0;
};

} // namespace orrelith
