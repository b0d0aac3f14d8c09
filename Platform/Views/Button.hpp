#pragma once

#include "Platform/Views/View.hpp"

#include <functional>
#include <string>

namespace orrelith::platform {

// Which key, besides a click, presses a button.
enum class KeyEquivalent { None, Return };

class ButtonBackend : public ViewBackend {
public:
    virtual void setTitle(const std::string& title) = 0;
    virtual void setKeyEquivalent(KeyEquivalent key) = 0;
    // What a click (or the key equivalent) calls, on the main thread, never synchronously inside a
    // backend call.
    virtual void setAction(std::function<void()> action) = 0;
    virtual Size fittingSize() const = 0;
};

// A push button with a title. Main thread only.
class Button : public View {
public:
    static std::shared_ptr<Button> create(std::string title, std::function<void()> action);

    const std::string& title() const { return title_; }
    KeyEquivalent keyEquivalent() const { return key_; }
    void setKeyEquivalent(KeyEquivalent key);
    // Does what a click does.
    void performClick();
    void sizeToFit();

private:
    Button(std::string title, std::function<void()> action, std::unique_ptr<ButtonBackend> backend);
    ButtonBackend& button() const;

    std::string title_;
    std::function<void()> action_;
    KeyEquivalent key_ = KeyEquivalent::None;
};

} // namespace orrelith::platform
