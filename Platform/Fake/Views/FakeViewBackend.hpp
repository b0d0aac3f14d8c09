#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Views/View.hpp"

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
    explicit FakeBackendBase(const std::shared_ptr<const FakeMainQueue>& clock) : clock_(clock) {}
    virtual ~FakeBackendBase() = default;

    // The fake backend behind a view made while the fake window system was installed.
    static FakeBackendBase& of(const View& view);
    double drawnAlpha() const;

    FakeViewState state;

protected:
    // Weak: work on the queue holds views, so a strong clock would make a cycle that outlives the test.
    std::weak_ptr<const FakeMainQueue> clock_;
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

} // namespace orrelith::platform
