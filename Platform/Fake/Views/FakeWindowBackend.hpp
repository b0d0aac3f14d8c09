#pragma once

#include "Platform/Fake/Views/FakeScreenList.hpp"
#include "Platform/Views/Window.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// What a window backend was told, in plain fields.
struct FakeWindowState {
    Rect frame;
    const View* contentView = nullptr;
    std::string title;
    bool shown = false;
    bool closed = false;
    std::size_t showCalls = 0;
    std::size_t hideCalls = 0;
    std::size_t closeCalls = 0;
    const Screen* fullScreenOn = nullptr;
    std::vector<const WindowBackend*> sheetsBegun;
    std::vector<const WindowBackend*> sheetsEnded;
};

// A window in memory. Like a toolkit, it gives a window made full screen the screen's frame. The screen it
// reports is `screenOverride` when set (null included: a window the toolkit has not placed yet), else the first
// screen of the list whose frame meets the window's.
class FakeWindowBackend : public WindowBackend {
public:
    FakeWindowBackend(Window& window, const Rect& contentRect, std::shared_ptr<FakeScreenList> screens);

    static FakeWindowBackend& of(const Window& window);

    void setContentView(View* view) override { state.contentView = view; }
    void setFrame(const Rect& frame) override { state.frame = frame; }
    void setTitle(const std::string& title) override { state.title = title; }
    void show() override;
    void hide() override;
    void close() override;
    void makeFullScreen(const Screen& screen) override;
    void beginSheet(WindowBackend& sheet) override { state.sheetsBegun.push_back(&sheet); }
    void endSheet(WindowBackend& sheet) override { state.sheetsEnded.push_back(&sheet); }
    std::shared_ptr<Screen> screen() const override;

    // What the toolkit does on its own: the user resizes the window, or it is mapped or unmapped.
    void simulateResize(const Rect& frame);
    void simulateShown(bool visible);
    // The user acts on the window. Like a toolkit, a close request hides the window before it is reported.
    void simulateUserEvent(const UserEvent& event);

    FakeWindowState state;
    std::optional<std::shared_ptr<Screen>> screenOverride;

private:
    Window& window_;
    std::shared_ptr<FakeScreenList> screens_;
};

} // namespace orrelith::platform
