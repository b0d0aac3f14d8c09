#include "Platform/Linux/Views/EdidIdentity.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include <glib.h>

namespace orrelith::platform {

namespace {

constexpr std::array<unsigned char, 8> header{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t blockSize = 128;
// The namespace of monitor identities; any fixed UUID would do, this one is ours.
constexpr std::array<unsigned char, 16> identityNamespace{0x6f, 0x72, 0x72, 0x65, 0x6c, 0x69, 0x74, 0x68,
                                                          0x8e, 0x1d, 0x4b, 0x3a, 0x9c, 0x52, 0xed, 0x1d};

unsigned char at(std::string_view bytes, std::size_t index) { return static_cast<unsigned char>(bytes[index]); }

bool hasValidFrame(std::string_view bytes) {
    if (bytes.size() < blockSize)
        return false;
    for (std::size_t i = 0; i < header.size(); ++i)
        if (at(bytes, i) != header[i])
            return false;
    unsigned sum = 0;
    for (std::size_t i = 0; i < blockSize; ++i)
        sum += at(bytes, i);
    return sum % 256 == 0;
}

std::optional<std::string> manufacturerId(std::string_view bytes) {
    unsigned packed = (static_cast<unsigned>(at(bytes, 8)) << 8) | at(bytes, 9);
    std::string id;
    for (int shift : {10, 5, 0}) {
        unsigned letter = (packed >> shift) & 0x1F;
        if (letter < 1 || letter > 26)
            return std::nullopt;
        id.push_back(static_cast<char>('A' + letter - 1));
    }
    return id;
}

// A display descriptor's text: up to 13 bytes, ended by a line feed, padded with spaces.
std::string descriptorText(std::string_view descriptor) {
    std::string text;
    for (std::size_t i = 5; i < 18; ++i) {
        char c = descriptor[i];
        if (c == '\n' || c == '\0')
            break;
        text.push_back(c >= 0x20 && c < 0x7F ? c : '?');
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

void readDescriptors(std::string_view bytes, EdidIdentity& identity) {
    for (std::size_t offset : {54u, 72u, 90u, 108u}) {
        auto descriptor = bytes.substr(offset, 18);
        if (at(descriptor, 0) != 0 || at(descriptor, 1) != 0 || at(descriptor, 2) != 0)
            continue;
        if (at(descriptor, 3) == 0xFF)
            identity.serialText = descriptorText(descriptor);
        else if (at(descriptor, 3) == 0xFC)
            identity.monitorName = descriptorText(descriptor);
    }
}

std::string formatUuid(const std::array<unsigned char, 16>& bytes) {
    std::string text;
    char hex[3];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += hex;
    }
    return text;
}

} // namespace

std::optional<EdidIdentity> EdidIdentity::parse(std::string_view bytes) {
    if (!hasValidFrame(bytes))
        return std::nullopt;
    auto maker = manufacturerId(bytes);
    if (!maker)
        return std::nullopt;
    EdidIdentity identity;
    identity.manufacturer = *maker;
    identity.productCode = static_cast<std::uint16_t>(at(bytes, 10) | (at(bytes, 11) << 8));
    identity.serialNumber = static_cast<std::uint32_t>(at(bytes, 12)) | (static_cast<std::uint32_t>(at(bytes, 13)) << 8) |
                            (static_cast<std::uint32_t>(at(bytes, 14)) << 16) |
                            (static_cast<std::uint32_t>(at(bytes, 15)) << 24);
    readDescriptors(bytes, identity);
    return identity;
}

std::string EdidIdentity::uuid() const {
    char fields[64];
    std::snprintf(fields, sizeof fields, "%04X/%08X/", static_cast<unsigned>(productCode),
                  static_cast<unsigned>(serialNumber));
    std::string name = "edid/" + manufacturer + "/" + fields + serialText;

    GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA1);
    g_checksum_update(checksum, identityNamespace.data(), identityNamespace.size());
    g_checksum_update(checksum, reinterpret_cast<const guchar*>(name.data()), static_cast<gssize>(name.size()));
    std::array<unsigned char, 20> digest{};
    gsize length = digest.size();
    g_checksum_get_digest(checksum, digest.data(), &length);
    g_checksum_free(checksum);

    std::array<unsigned char, 16> uuid{};
    std::copy_n(digest.begin(), uuid.size(), uuid.begin());
    uuid[6] = static_cast<unsigned char>((uuid[6] & 0x0F) | 0x50);
    uuid[8] = static_cast<unsigned char>((uuid[8] & 0x3F) | 0x80);
    return formatUuid(uuid);
}

} // namespace orrelith::platform
