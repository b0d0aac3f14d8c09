#pragma once

#include "RendererOptions.hpp"

#include "Platform/Views/Window.hpp"
#include "Platform/Web/NavigationDelegate.hpp"
#include "Platform/Web/WebView.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::gallery {

// Shows scene pages in one window, each in a web view made by SceneWeb as the saver makes a scene's, and
// either writes a still of each scene or holds one page open. Needs the Linux platform installed with a
// window system. Main thread only; reports its exit status to `finished` once, from the main queue.
class GalleryRenderer : public platform::NavigationDelegate, public std::enable_shared_from_this<GalleryRenderer> {
public:
    // The gallery's still: what a 1280x800 display shows, halved.
    static constexpr int stillWidth = 640;
    static constexpr int stillHeight = 400;
    static constexpr int stillQuality = 82;

    static std::shared_ptr<GalleryRenderer> create(RendererOptions options, std::function<void(int)> finished);

    // Compiles the network block first, as a saver view does before its first scene.
    void start();

    void didFinishNavigation(platform::WebView& webView) override;
    // Nobody acts on these pages, so the saver's policy (it refuses only the user's navigations) lets
    // everything through: so does this.
    void decidePolicyForNavigationAction(platform::WebView& webView, const platform::NavigationAction& action,
                                         std::function<void(platform::NavigationActionPolicy)> handler) override;
    void webContentProcessDidTerminate(platform::WebView& webView) override;

    GalleryRenderer(RendererOptions options, std::function<void(int)> finished);

private:
    void begin();
    std::vector<std::string> scenes(std::string& unknown) const;
    void renderNext();
    void capture();
    void beginHold();
    void showPage(const std::function<void(platform::WebView&)>& load);
    void giveUpUnlessLoaded(double seconds, const std::string& message);
    void pageLoaded();
    void finish(int status);

    RendererOptions options_;
    std::function<void(int)> finished_;
    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<platform::WebView> page_;
    // Counts pages shown, so that a timer for an earlier page does nothing.
    int pageNumber_ = 0;
    bool loaded_ = false;
    std::vector<std::string> pending_;
    std::string current_;
    int failures_ = 0;
};

} // namespace orrelith::gallery
