#pragma once

#include "Platform/Views/Window.hpp"

#include <memory>
#include <vector>

namespace orrelith::host {

// Borderless black windows, one full screen on each monitor attached when shown. The daemon puts them up
// the moment the user is found idle, so that every screen goes dark at once rather than when the run's own
// process has started its toolkit and made its views; the run's windows come up above them. Without a
// window system there is nothing to show. Main thread only.
class BlackCovers {
public:
    BlackCovers() = default;
    BlackCovers(const BlackCovers&) = delete;
    BlackCovers& operator=(const BlackCovers&) = delete;
    ~BlackCovers() { close(); }

    // Readies the window system so that showing the covers later takes no more than drawing them.
    void prepare();
    // Covers every screen; covers already up stay as they are.
    void show();
    void close();
    const std::vector<std::shared_ptr<platform::Window>>& windows() const { return windows_; }

private:
    std::vector<std::shared_ptr<platform::Window>> windows_;
};

} // namespace orrelith::host
