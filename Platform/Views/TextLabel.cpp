#include "Platform/Views/TextLabel.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

std::shared_ptr<TextLabel> TextLabel::create(std::string text) {
    return std::shared_ptr<TextLabel>(new TextLabel(std::move(text), windows().makeLabelBackend()));
}

TextLabel::TextLabel(std::string text, std::unique_ptr<LabelBackend> backend)
    : View(Rect{}, std::move(backend)), text_(std::move(text)) {
    label().setText(text_);
    label().setFont(font_);
    label().setTextColor(textColor_);
}

LabelBackend& TextLabel::label() const { return static_cast<LabelBackend&>(backend()); }

void TextLabel::setText(std::string text) {
    text_ = std::move(text);
    label().setText(text_);
}

void TextLabel::setFont(const Font& font) {
    font_ = font;
    label().setFont(font_);
}

void TextLabel::setTextColor(const Color& color) {
    textColor_ = color;
    label().setTextColor(color);
}

void TextLabel::setShadow(std::optional<Shadow> shadow) {
    shadow_ = std::move(shadow);
    label().setShadow(shadow_);
}

void TextLabel::sizeToFit() { setFrame(Rect{frame().origin, label().fittingSize()}); }

} // namespace orrelith::platform
