#include "OrrelithCore/Base64.hpp"

#include <array>
#include <cstdint>

namespace orrelith {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(char c) {
    auto position = alphabet.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

} // namespace

std::string Base64::encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
        std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        if (count > 1)
            group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
        if (count > 2)
            group |= static_cast<std::uint8_t>(bytes[i + 2]);
        for (std::size_t k = 0; k < 4; ++k)
            text.push_back(k <= count ? alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=');
    }
    return text;
}

std::optional<std::string> Base64::decode(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::size_t padding = 0;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            char c = text[i + k];
            bool last = i + 4 == text.size();
            if (c == '=' && last && k >= 2 && (k == 3 || text[i + 3] == '=')) {
                ++padding;
                group <<= 6;
                continue;
            }
            int value = valueOf(c);
            if (value < 0 || padding > 0)
                return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(value);
        }
        for (std::size_t k = 0; k < 3 - padding; ++k)
            bytes.push_back(static_cast<char>((group >> (16 - 8 * k)) & 0xFF));
    }
    return bytes;
}

} // namespace orrelith
