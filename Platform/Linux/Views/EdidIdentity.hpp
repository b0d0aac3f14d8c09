#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orrelith::platform {

// Who a monitor is, as its EDID block says: the maker's three-letter id, the product code, the 32-bit
// serial number and, when the block carries them, the serial and name text descriptors. A plain value.
struct EdidIdentity {
    std::string manufacturer;
    std::uint16_t productCode = 0;
    std::uint32_t serialNumber = 0;
    std::string serialText;
    std::string monitorName;

    // The identity in a base EDID block (at least 128 bytes: the fixed header, a valid checksum and a maker
    // id of letters), or nothing.
    static std::optional<EdidIdentity> parse(std::string_view bytes);

    // A name-based UUID (version 5, SHA-1, in a namespace of our own) of the maker, product code, serial
    // number and serial text, in canonical upper-case text: the same monitor gives the same UUID on every
    // machine and every start, two monitors that differ in any of these give different ones.
    std::string uuid() const;

    friend bool operator==(const EdidIdentity&, const EdidIdentity&) = default;
};

} // namespace orrelith::platform
