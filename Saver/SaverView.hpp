#pragma once

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/Settings.hpp"
#include "Platform/Views/ImageView.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Web/NavigationDelegate.hpp"
#include "Platform/Views/ScreenSaverView.hpp"
#include "Platform/Views/TextLabel.hpp"
#include "Platform/Web/WebView.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace orrelith {

// The screen saver's view for one display. A full-screen view finds its display, registers in `live`,
// shows the display's scene in a web view and rotates scenes with crossfade and caption; a preview view
// shows a still thumbnail instead and takes no part in the registry, the shuffle timer or the sound.
// It is the navigation delegate of its own web views.
//
// Main thread only. Deferred work (timer ticks, delayed fade-ins, animation completions, notification
// handlers) holds the view weakly and re-checks that what it acts on is still current; the host's
// stopAnimation is what ends a view's work, not its destruction.
class SaverView : public platform::ScreenSaverView, public platform::NavigationDelegate {
public:
    using Registry = std::map<std::string, std::shared_ptr<SaverView>>;

    // initWithFrame:isPreview:
    static std::shared_ptr<SaverView> create(const platform::Rect& frame, platform::SaverMode mode);
    // initWithCoder: fields only; no observers, no set-up.
    static std::shared_ptr<SaverView> create(const platform::Archive& archive);
    ~SaverView() override;

    // Every running full-screen view whose display is known, by display key; strong until its tear-down.
    static Registry& live();

    void startAnimation() override;
    void stopAnimation() override;
    void animateOneFrame() override;
    void viewDidMoveToWindow() override;
    bool hasConfigureSheet() const override { return true; }
    std::shared_ptr<platform::Window> configureSheet() override;

    // Notification handlers.
    void screensaverWillStop();
    void displaysSlept();
    void displaysWoke();

    // Navigation delegate of the scene web views.
    void didFinishNavigation(platform::WebView& webView) override;
    void decidePolicyForNavigationAction(platform::WebView& webView, const platform::NavigationAction& action,
                                         std::function<void(platform::NavigationActionPolicy)> decisionHandler) override;
    void webContentProcessDidTerminate(platform::WebView& webView) override;

    // Read access for the host and for tests.
    const std::optional<std::string>& displayKey() const { return displayKey_; }
    const std::shared_ptr<platform::WebView>& web() const { return web_; }
    const std::shared_ptr<platform::WebView>& outgoing() const { return outgoing_; }
    const std::optional<std::string>& slug() const { return slug_; }
    const std::shared_ptr<platform::RepeatingTimer>& timer() const { return timer_; }
    bool isRunning() const { return running_; }
    const std::shared_ptr<platform::TextLabel>& caption() const { return caption_; }
    const std::shared_ptr<platform::ImageView>& thumbnail() const { return thumbnail_; }
    const Settings& settings() const { return settings_; }
    const std::optional<Catalog>& catalog() const { return catalog_; }
    bool isAsleep() const { return asleep_; }

protected:
    SaverView(const platform::Rect& frame, platform::SaverMode mode);
    explicit SaverView(const platform::Archive& archive);
    // The construction steps that need the view's own shared pointer.
    void setUp();
    template <typename T> static std::shared_ptr<T> made(std::shared_ptr<T> view) {
        view->setUp();
        return view;
    }

private:
    std::shared_ptr<SaverView> self() { return std::static_pointer_cast<SaverView>(shared_from_this()); }
    std::weak_ptr<SaverView> weakSelf() { return self(); }
    void observeNotifications();

    void begin();
    void beginPreview();
    void teardown();
    void closeScenes();

    void sleep();
    void wake();

    void scheduleShuffle();
    void stopShuffle();
    void advance();
    void show(const std::string& slug);
    void flashCaption(const std::string& text);
    void fadeIn(const std::shared_ptr<platform::WebView>& webView);
    void dropOutgoing();

    std::optional<std::string> displayKey_;
    std::shared_ptr<platform::WebView> web_;
    std::shared_ptr<platform::WebView> outgoing_;
    std::optional<std::string> slug_;
    std::shared_ptr<platform::RepeatingTimer> timer_;
    bool running_ = false;
    std::shared_ptr<platform::TextLabel> caption_;
    std::shared_ptr<platform::ImageView> thumbnail_;
    Settings settings_;
    std::optional<Catalog> catalog_;
    bool asleep_ = false;
    bool observing_ = false;
};

} // namespace orrelith
