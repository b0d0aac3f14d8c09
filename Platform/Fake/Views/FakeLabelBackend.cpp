#include "Platform/Fake/Views/FakeLabelBackend.hpp"

namespace orrelith::platform {

namespace {

std::size_t codePoints(const std::string& text) {
    std::size_t count = 0;
    for (unsigned char byte : text)
        if ((byte & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace

Size FakeLabelBackend::fittingSize() const {
    double size = labelState.font.size;
    return {static_cast<double>(codePoints(labelState.text)) * size * 0.6, size * 1.2};
}

FakeLabelBackend& FakeLabelBackend::of(const TextLabel& label) {
    return dynamic_cast<FakeLabelBackend&>(label.backend());
}

} // namespace orrelith::platform
