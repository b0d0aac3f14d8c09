#pragma once

#include "Platform/Fake/Views/FakeViewBackend.hpp"
#include "Platform/Views/TextLabel.hpp"

#include <string>

namespace orrelith::platform {

struct FakeLabelState {
    std::string text;
    Font font;
    Color textColor;
    std::optional<Shadow> shadow;
};

// Its fitting size is a function of the text and the font size alone: each character (code point) is
// 0.6 of the font size wide, the line 1.2 of it high.
class FakeLabelBackend : public FakeViewBackendOf<LabelBackend> {
public:
    using FakeViewBackendOf::FakeViewBackendOf;
    static FakeLabelBackend& of(const TextLabel& label);
    void setText(const std::string& text) override { labelState.text = text; }
    void setFont(const Font& font) override { labelState.font = font; }
    void setTextColor(const Color& color) override { labelState.textColor = color; }
    void setShadow(const std::optional<Shadow>& shadow) override { labelState.shadow = shadow; }
    Size fittingSize() const override;

    FakeLabelState labelState;
};

} // namespace orrelith::platform
