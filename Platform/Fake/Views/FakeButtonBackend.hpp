#pragma once

#include "Platform/Fake/Views/FakeViewBackend.hpp"
#include "Platform/Views/Button.hpp"

#include <functional>
#include <string>

namespace orrelith::platform {

// A button whose action a test triggers with click(), as a person's click would.
class FakeButtonBackend : public FakeViewBackendOf<ButtonBackend> {
public:
    using FakeViewBackendOf::FakeViewBackendOf;
    static FakeButtonBackend& of(const Button& button);
    void setTitle(const std::string& title) override { this->title = title; }
    void setKeyEquivalent(KeyEquivalent key) override { keyEquivalent = key; }
    void setAction(std::function<void()> action) override { action_ = std::move(action); }
    // 13-point text: 7.8 points a character plus 24 points of bezel, 32 high.
    Size fittingSize() const override { return {static_cast<double>(title.size()) * 7.8 + 24, 32}; }
    void click() {
        auto action = action_;
        if (action)
            action();
    }
    std::string title;
    KeyEquivalent keyEquivalent = KeyEquivalent::None;

private:
    std::function<void()> action_;
};

} // namespace orrelith::platform
