#pragma once

#include "Platform/Fake/FakeMainQueue.hpp"
#include "Platform/Button.hpp"
#include "Platform/ImageView.hpp"
#include "Platform/TextLabel.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace orrelith::platform {

// An opacity animation in progress on one backend, on the virtual clock.
struct FakeFade {
    double fromAlpha = 0;
    double toAlpha = 0;
    std::int64_t start = 0;
    std::int64_t duration = 0;
    std::uint64_t group = 0;
};

// What a view backend was told, in plain fields.
struct FakeViewState {
    Rect frame;
    // Back to front, as the view inserted them.
    std::vector<const ViewBackend*> children;
    // The opacity last set (or reached by a finished animation).
    double alpha = 1;
    std::vector<double> alphaSets;
    std::optional<Color> background;
    std::optional<FakeFade> fade;
};

// The common part of every fake view backend. The drawn opacity follows a running fade linearly on the
// virtual clock, so a test that advances the clock sees it change. Main thread only.
class FakeBackendBase {
public:
    explicit FakeBackendBase(std::shared_ptr<const FakeMainQueue> clock) : clock_(std::move(clock)) {}
    virtual ~FakeBackendBase() = default;

    // The fake backend behind a view made while the fake window system was installed.
    static FakeBackendBase& of(const View& view);
    double drawnAlpha() const;

    FakeViewState state;

protected:
    std::shared_ptr<const FakeMainQueue> clock_;
};

template <typename Interface> class FakeViewBackendOf : public Interface, public FakeBackendBase {
public:
    using FakeBackendBase::FakeBackendBase;
    void setFrame(const Rect& frame) override { state.frame = frame; }
    void insertSubview(ViewBackend& child, std::size_t index) override {
        auto at = std::min(index, state.children.size());
        state.children.insert(state.children.begin() + static_cast<std::ptrdiff_t>(at), &child);
    }
    void removeSubview(ViewBackend& child) override { std::erase(state.children, &child); }
    void setAlpha(double alpha) override {
        state.fade.reset();
        state.alpha = alpha;
        state.alphaSets.push_back(alpha);
    }
    void setBackgroundColor(std::optional<Color> color) override { state.background = color; }
};

using FakeViewBackend = FakeViewBackendOf<ViewBackend>;

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

class FakeImageViewBackend : public FakeViewBackendOf<ImageViewBackend> {
public:
    using FakeViewBackendOf::FakeViewBackendOf;
    static FakeImageViewBackend& of(const ImageView& view);
    void setImage(const std::shared_ptr<Image>& image) override { this->image = image; }
    void setImageScaling(ImageScaling scaling) override { this->scaling = scaling; }

    std::shared_ptr<Image> image;
    std::optional<ImageScaling> scaling;
};

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

// An image that remembers where it came from.
class FakeImage : public Image {
public:
    FakeImage(std::filesystem::path path, Size size) : path_(std::move(path)), size_(size) {}
    Size size() const override { return size_; }
    const std::filesystem::path& path() const override { return path_; }

private:
    std::filesystem::path path_;
    Size size_;
};

} // namespace orrelith::platform
