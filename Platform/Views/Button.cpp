#include "Platform/Views/Button.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::platform {

std::shared_ptr<Button> Button::create(std::string title, std::function<void()> action) {
    auto button = std::shared_ptr<Button>(new Button(std::move(title), std::move(action), windows().makeButtonBackend()));
    std::weak_ptr<Button> weak = button;
    button->button().setAction([weak] {
        if (auto self = weak.lock())
            self->performClick();
    });
    return button;
}

Button::Button(std::string title, std::function<void()> action, std::unique_ptr<ButtonBackend> backend)
    : View(Rect{}, std::move(backend)), title_(std::move(title)), action_(std::move(action)) {
    button().setTitle(title_);
}

ButtonBackend& Button::button() const { return static_cast<ButtonBackend&>(backend()); }

void Button::setKeyEquivalent(KeyEquivalent key) {
    key_ = key;
    button().setKeyEquivalent(key);
}

void Button::performClick() {
    auto action = action_;
    if (action)
        action();
}

void Button::sizeToFit() { setFrame(Rect{frame().origin, button().fittingSize()}); }

} // namespace orrelith::platform
