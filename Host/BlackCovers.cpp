#include "Host/BlackCovers.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/Screen.hpp"
#include "Platform/Views/View.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith::host {

void BlackCovers::prepare() {
    if (platform::installed().windows)
        platform::windows().prepareWindows();
}

void BlackCovers::show() {
    if (!windows_.empty() || !platform::installed().screens || !platform::installed().windows)
        return;
    for (auto& screen : platform::screens().screens()) {
        auto frame = screen->frame();
        if (frame.width() <= 0 || frame.height() <= 0)
            continue;
        auto window = platform::Window::create(frame, platform::WindowStyle::Borderless);
        auto black = platform::View::create(platform::Rect{{0, 0}, frame.size});
        black->setWantsLayer(true);
        black->setLayerBackgroundColor(platform::Color::black());
        window->setContentView(black);
        window->makeFullScreen(*screen);
        window->orderFront();
        windows_.push_back(std::move(window));
    }
}

void BlackCovers::close() {
    for (auto& window : windows_)
        window->close();
    windows_.clear();
}

} // namespace orrelith::host
