#include "Saver/SaverView.hpp"

#include "OrrelithCore/SceneChooser.hpp"
#include "Platform/Views/AnimationContext.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Screen.hpp"
#include "Platform/Views/Window.hpp"
#include "Platform/System/Workspace.hpp"
#include "Saver/Ambience.hpp"
#include "Saver/Displays.hpp"
#include "Saver/OptionsLauncher.hpp"
#include "Saver/OptionsStore.hpp"
#include "Saver/SceneThumbnails.hpp"
#include "Saver/SceneWeb.hpp"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace orrelith {

using namespace platform;

namespace {

constexpr double fadeInDelay = 0.8;
constexpr double fadeInDuration = 1.6;
constexpr double captionShownFor = 4.0;
constexpr double captionFadeDuration = 1.2;
constexpr double pageTimeout = 60;

std::optional<Catalog> readCatalog() {
    auto url = SceneWeb::catalogURL();
    if (!url)
        return std::nullopt;
    std::ifstream file(*url, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    try {
        return Catalog::decode(text.str());
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

// The sound is wanted while some registered view runs, is awake and has a visible window.
bool soundStillWanted() {
    return std::any_of(SaverView::live().begin(), SaverView::live().end(), [](const auto& entry) {
        const auto& view = entry.second;
        auto window = view->window();
        return view->isRunning() && !view->isAsleep() && window && window->isVisible();
    });
}

enum class PageEnd { Unload, LeaveToRelease };

// Takes a scene web view out of the view. Unloading stops the page's scripts, timers and media at once,
// which matters where a page could otherwise run on behind dark displays.
void retire(const std::shared_ptr<WebView>& webView, PageEnd end) {
    webView->stopLoading();
    webView->setNavigationDelegate({});
    if (end == PageEnd::Unload)
        webView->loadHTMLString("", std::nullopt);
    webView->removeFromSuperview();
}

} // namespace

SaverView::Registry& SaverView::live() {
    static Registry registry;
    return registry;
}

std::shared_ptr<SaverView> SaverView::create(const Rect& frame, SaverMode mode) {
    return made(std::shared_ptr<SaverView>(new SaverView(frame, mode)));
}

std::shared_ptr<SaverView> SaverView::create(const Archive& archive) {
    return std::shared_ptr<SaverView>(new SaverView(archive));
}

SaverView::SaverView(const Rect& frame, SaverMode mode) : ScreenSaverView(frame, mode) {
    setAnimationTimeInterval(30.0);
    setWantsLayer(true);
    setLayerBackgroundColor(Color::black());
}

SaverView::SaverView(const Archive& archive) : ScreenSaverView(archive) {}

void SaverView::setUp() {
    observeNotifications();
    Ambience::stillWanted = soundStillWanted;
}

void SaverView::observeNotifications() {
    std::weak_ptr<SaverView> weak = weakSelf();
    auto handler = [weak](void (SaverView::*method)()) {
        return [weak, method] {
            if (auto self = weak.lock())
                (self.get()->*method)();
        };
    };
    distributedCenter().addObserver(this, willStopNotification, handler(&SaverView::screensaverWillStop));
    distributedCenter().addObserver(this, didStopNotification, handler(&SaverView::screensaverWillStop));
    auto& center = workspace().notificationCenter();
    center.addObserver(this, Workspace::screensDidSleepNotification, handler(&SaverView::displaysSlept));
    center.addObserver(this, Workspace::screensDidWakeNotification, handler(&SaverView::displaysWoke));
    observing_ = true;
}

SaverView::~SaverView() {
    if (!observing_)
        return;
    const auto& services = installed();
    if (services.distributedCenter)
        services.distributedCenter->removeObserver(this);
    if (services.workspace)
        services.workspace->notificationCenter().removeObserver(this);
}

void SaverView::startAnimation() {
    ScreenSaverView::startAnimation();
    if (running_)
        return;
    running_ = true;
    begin();
}

void SaverView::stopAnimation() {
    ScreenSaverView::stopAnimation();
    teardown();
}

void SaverView::animateOneFrame() {}

void SaverView::viewDidMoveToWindow() {
    ScreenSaverView::viewDidMoveToWindow();
    if (running_ && !web_ && !thumbnail_ && window())
        begin();
}

std::shared_ptr<Window> SaverView::configureSheet() { return OptionsLauncher::open(); }

void SaverView::begin() {
    if (!catalog_)
        catalog_ = readCatalog();
    settings_ = OptionsStore::load();
    if (!catalog_)
        return;
    if (isPreview()) {
        beginPreview();
        return;
    }
    if (!window())
        return;
    auto screen = Displays::screen(*this);
    if (!screen)
        return;
    displayKey_ = Displays::key(*screen);
    live()[*displayKey_] = self();
    std::weak_ptr<SaverView> weak = weakSelf();
    SceneWeb::prepareBlocker([weak] {
        auto self = weak.lock();
        if (!self || !self->running_)
            return;
        self->advance();
        self->scheduleShuffle();
        Ambience::start(self->settings_);
    });
}

void SaverView::beginPreview() {
    auto main = screens().mainScreen();
    std::string key = main ? Displays::key(*main) : std::string();
    std::optional<std::string> chosen;
    DisplayMode mode = settings_.mode(key, *catalog_);
    auto pool = settings_.pool(*catalog_);
    if (mode.isFixed() && catalog_->contains(mode.slug())) {
        chosen = mode.slug();
    } else if (!pool.empty()) {
        chosen = SceneChooser::shared().anyOf(pool);
    } else if (!catalog_->scenes.empty()) {
        chosen = catalog_->slugs().front();
    }
    if (thumbnail_)
        thumbnail_->removeFromSuperview();
    thumbnail_ = ImageView::create(bounds());
    thumbnail_->setAutoresizingMask(AutoresizingMask::WidthSizable | AutoresizingMask::HeightSizable);
    thumbnail_->setImageScaling(ImageScaling::ProportionallyUpOrDown);
    if (chosen)
        thumbnail_->setImage(SceneThumbnails::image(*chosen));
    addSubview(thumbnail_);
}

void SaverView::teardown() {
    running_ = false;
    asleep_ = false;
    stopShuffle();
    closeScenes();
    if (caption_)
        caption_->removeFromSuperview();
    if (thumbnail_)
        thumbnail_->removeFromSuperview();
    thumbnail_ = nullptr;
    if (displayKey_) {
        auto entry = live().find(*displayKey_);
        if (entry != live().end() && entry->second.get() == this)
            live().erase(entry);
        SceneChooser::shared().release(*displayKey_);
    }
    if (live().empty())
        Ambience::stop();
    displayKey_.reset();
    slug_.reset();
}

void SaverView::closeScenes() {
    for (const auto& webView : {web_, outgoing_})
        if (webView)
            retire(webView, PageEnd::Unload);
    web_ = nullptr;
    outgoing_ = nullptr;
}

void SaverView::screensaverWillStop() {
    Ambience::stop();
    auto self = this->self();
    mainQueue().async([self] { self->teardown(); });
}

// Both are queued holding the view strongly, so that a display that sleeps or wakes while the host lets
// go of the view still ends in a consistent state.
void SaverView::displaysSlept() {
    mainQueue().async([self = self()] { self->sleep(); });
}

void SaverView::displaysWoke() {
    mainQueue().async([self = self()] { self->wake(); });
}

void SaverView::sleep() {
    if (!running_ || asleep_)
        return;
    asleep_ = true;
    stopShuffle();
    closeScenes();
    if (std::all_of(live().begin(), live().end(), [](const auto& entry) { return entry.second->asleep_; }))
        Ambience::stop();
}

void SaverView::wake() {
    if (!asleep_)
        return;
    asleep_ = false;
    if (!running_ || !displayKey_)
        return;
    if (slug_)
        show(*slug_);
    else
        advance();
    scheduleShuffle();
    Ambience::start(settings_);
}

// Scene rotation.

void SaverView::stopShuffle() {
    if (timer_)
        timer_->invalidate();
    timer_ = nullptr;
}

void SaverView::scheduleShuffle() {
    stopShuffle();
    if (!displayKey_ || !catalog_)
        return;
    DisplayMode mode = settings_.mode(*displayKey_, *catalog_);
    if (mode.isFixed() && catalog_->contains(mode.slug()))
        return;
    if (!(settings_.shuffleInterval > 0))
        return;
    std::weak_ptr<SaverView> weak = weakSelf();
    timer_ = mainQueue().scheduleRepeating(settings_.shuffleInterval, [weak] {
        if (auto self = weak.lock())
            self->advance();
    });
}

void SaverView::advance() {
    if (!running_ || !displayKey_ || !catalog_)
        return;
    std::set<std::string> active;
    for (const auto& entry : live())
        active.insert(entry.first);
    std::string next = SceneChooser::shared().next(*displayKey_, settings_, *catalog_, active);
    if (next.empty())
        return;
    if (next == slug_ && web_)
        return;
    show(next);
}

void SaverView::show(const std::string& slug) {
    slug_ = slug;
    auto webView = SceneWeb::makeWebView(bounds());
    webView->setNavigationDelegate(std::static_pointer_cast<NavigationDelegate>(self()));
    bool fade = settings_.crossfade && web_;
    webView->setAlphaValue(fade ? 0 : 1);
    if (web_) {
        addSubview(webView, Ordering::Above, web_.get());
        if (outgoing_)
            outgoing_->removeFromSuperview();
        outgoing_ = web_;
    } else {
        addSubview(webView);
    }
    web_ = webView;
    web_->load(URLRequest{SceneWeb::url(slug), URLRequestCachePolicy::UseProtocolCachePolicy, pageTimeout});
    if (!fade && outgoing_)
        dropOutgoing();
}

void SaverView::dropOutgoing() {
    auto old = std::move(outgoing_);
    outgoing_ = nullptr;
    if (old)
        retire(old, PageEnd::LeaveToRelease);
}

void SaverView::didFinishNavigation(WebView& webView) {
    if (&webView != web_.get())
        return;
    std::weak_ptr<SaverView> weak = weakSelf();
    std::weak_ptr<WebView> weakWeb = web_;
    mainQueue().asyncAfter(fadeInDelay, [weak, weakWeb] {
        auto self = weak.lock();
        auto webView = weakWeb.lock();
        if (!self || !webView || webView != self->web_)
            return;
        self->fadeIn(webView);
        if (!self->settings_.showSceneName || !self->slug_ || !self->catalog_)
            return;
        if (const Scene* scene = self->catalog_->scene(*self->slug_))
            self->flashCaption(scene->caption());
    });
}

void SaverView::fadeIn(const std::shared_ptr<WebView>& webView) {
    if (!(webView->alphaValue() < 1))
        return;
    std::weak_ptr<SaverView> weak = weakSelf();
    AnimationContext::runAnimationGroup(
        [&](AnimationContext& context) {
            context.setDuration(fadeInDuration);
            webView->animator().setAlphaValue(1);
        },
        [weak] {
            if (auto self = weak.lock())
                self->dropOutgoing();
        });
}

void SaverView::decidePolicyForNavigationAction(WebView&, const NavigationAction& action,
                                                std::function<void(NavigationActionPolicy)> decisionHandler) {
    bool allowed = action.url && action.scheme() == "orrelith" && action.navigationType == NavigationType::Other;
    decisionHandler(allowed ? NavigationActionPolicy::Allow : NavigationActionPolicy::Cancel);
}

void SaverView::webContentProcessDidTerminate(WebView& webView) {
    if (&webView == web_.get() && slug_)
        show(*slug_);
}

void SaverView::flashCaption(const std::string& text) {
    if (caption_)
        caption_->removeFromSuperview();
    double height = bounds().height();
    auto label = TextLabel::create(text);
    label->setFont(Font::monospacedSystemFont(std::max(height / 70, 12.0), Font::Weight::Medium));
    label->setTextColor(Color::white(0.85, 1));
    label->sizeToFit();
    label->setFrame(Rect{{height / 30, height / 30}, label->frame().size});
    label->setWantsLayer(true);
    label->setShadow(Shadow{Color::black(), 6, {}});
    addSubview(label);
    caption_ = label;
    std::weak_ptr<TextLabel> weakLabel = label;
    mainQueue().asyncAfter(captionShownFor, [weakLabel] {
        auto label = weakLabel.lock();
        if (!label)
            return;
        AnimationContext::runAnimationGroup(
            [&](AnimationContext& context) {
                context.setDuration(captionFadeDuration);
                label->animator().setAlphaValue(0);
            },
            [weakLabel] {
                if (auto label = weakLabel.lock())
                    label->removeFromSuperview();
            });
    });
}

} // namespace orrelith
