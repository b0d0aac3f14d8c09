#include "GalleryRenderer.hpp"

#include "Platform/Linux/Views/PixbufStill.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Views/WindowSystem.hpp"
#include "Saver/SceneWeb.hpp"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace orrelith::gallery {

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr double loadPatience = 10;
// Scenes build up their consoles over the first seconds; the still shows them running.
constexpr double settleTime = 2.5;
constexpr double requestTimeout = 60;
const std::string blankPage = "<!DOCTYPE html><html><body style=\"margin:0;background:#000\"></body></html>";

std::optional<std::string> readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::shared_ptr<GalleryRenderer> GalleryRenderer::create(RendererOptions options, std::function<void(int)> finished) {
    return std::make_shared<GalleryRenderer>(std::move(options), std::move(finished));
}

GalleryRenderer::GalleryRenderer(RendererOptions options, std::function<void(int)> finished)
    : options_(std::move(options)), finished_(std::move(finished)) {}

void GalleryRenderer::start() {
    std::weak_ptr<GalleryRenderer> weak = weak_from_this();
    SceneWeb::prepareBlocker([weak] {
        if (auto self = weak.lock())
            self->begin();
    });
}

void GalleryRenderer::begin() {
    auto bounds = Rect::make(0, 0, options_.width, options_.height);
    window_ = Window::create(bounds, WindowStyle::Borderless);
    auto content = View::create(bounds);
    content->setLayerBackgroundColor(Color::black());
    window_->setContentView(content);
    window_->orderFront();
    if (options_.hold) {
        beginHold();
        return;
    }
    std::string unknown;
    pending_ = scenes(unknown);
    if (!unknown.empty()) {
        std::cerr << "unknown scene:" << unknown << "\n";
        finish(2);
        return;
    }
    renderNext();
}

// The slugs asked for, else every scene of the catalog; `unknown` lists those the catalog lacks.
std::vector<std::string> GalleryRenderer::scenes(std::string& unknown) const {
    const auto& pages = SceneWeb::pages();
    if (options_.slugs.empty()) {
        std::vector<std::string> all;
        for (const auto& [slug, page] : pages)
            all.push_back(slug);
        if (all.empty())
            unknown = " (no catalog in " + options_.resources.string() + ")";
        return all;
    }
    for (const auto& slug : options_.slugs)
        if (!pages.contains(slug))
            unknown += " " + slug;
    return options_.slugs;
}

void GalleryRenderer::renderNext() {
    if (pending_.empty()) {
        finish(failures_ == 0 ? 0 : 1);
        return;
    }
    current_ = pending_.front();
    pending_.erase(pending_.begin());
    showPage([&](WebView& view) {
        view.load(URLRequest{SceneWeb::url(current_), URLRequestCachePolicy::UseProtocolCachePolicy, requestTimeout});
    });
    giveUpUnlessLoaded(loadPatience, current_ + ": did not load");
}

void GalleryRenderer::capture() {
    auto folder = options_.out.value_or(options_.resources / "ORVEX" / "gallery");
    auto picture = fs::temp_directory_path() / ("gallery-renderer-" + std::to_string(::getpid()) + ".png");
    auto still = folder / (current_ + ".jpg");
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    auto problem = windows().writeScreenshot({window_}, picture);
    if (!problem)
        problem = PixbufStill::writeJpeg(picture, still, stillWidth, stillHeight, stillQuality);
    fs::remove(picture, ignored);
    if (problem) {
        std::cerr << current_ << ": no still: " << *problem << "\n";
        ++failures_;
    } else {
        std::cout << "wrote " << still.string() << std::endl;
    }
    renderNext();
}

void GalleryRenderer::beginHold() {
    const auto& hold = *options_.hold;
    std::string html = blankPage;
    if (hold.kind == RendererOptions::HoldKind::Scene && !SceneWeb::pages().contains(hold.name)) {
        std::cerr << "unknown scene: " << hold.name << "\n";
        finish(2);
        return;
    }
    if (hold.kind == RendererOptions::HoldKind::HTMLFile) {
        auto text = readText(hold.name);
        if (!text) {
            std::cerr << "cannot read " << hold.name << "\n";
            finish(2);
            return;
        }
        html = *text;
    }
    showPage([&](WebView& view) {
        if (hold.kind == RendererOptions::HoldKind::Scene)
            view.load(URLRequest{SceneWeb::url(hold.name), URLRequestCachePolicy::UseProtocolCachePolicy,
                                 requestTimeout});
        else
            view.loadHTMLString(html, std::string(SceneWeb::urlPrefix));
    });
    giveUpUnlessLoaded(loadPatience, "not-loaded");
}

// Replaces the page on show with a new scene web view and starts `load` in it.
void GalleryRenderer::showPage(const std::function<void(WebView&)>& load) {
    if (page_) {
        page_->stopLoading();
        page_->setNavigationDelegate({});
        page_->removeFromSuperview();
    }
    ++pageNumber_;
    loaded_ = false;
    page_ = SceneWeb::makeWebView(window_->contentView()->bounds());
    page_->setNavigationDelegate(weak_from_this());
    window_->contentView()->addSubview(page_);
    load(*page_);
}

void GalleryRenderer::giveUpUnlessLoaded(double seconds, const std::string& message) {
    std::weak_ptr<GalleryRenderer> weak = weak_from_this();
    mainQueue().asyncAfter(seconds, [weak, number = pageNumber_, message] {
        auto self = weak.lock();
        if (!self || number != self->pageNumber_ || self->loaded_)
            return;
        std::cout << message << std::endl;
        if (self->options_.hold) {
            self->finish(1);
            return;
        }
        ++self->failures_;
        self->renderNext();
    });
}

void GalleryRenderer::didFinishNavigation(WebView& webView) {
    if (&webView != page_.get() || loaded_)
        return;
    loaded_ = true;
    pageLoaded();
}

void GalleryRenderer::pageLoaded() {
    std::weak_ptr<GalleryRenderer> weak = weak_from_this();
    if (options_.hold)
        std::cout << "ready" << std::endl;
    double wait = options_.hold ? options_.seconds : settleTime;
    mainQueue().asyncAfter(wait, [weak, number = pageNumber_] {
        auto self = weak.lock();
        if (!self || number != self->pageNumber_)
            return;
        if (self->options_.hold)
            self->finish(0);
        else
            self->capture();
    });
}

void GalleryRenderer::decidePolicyForNavigationAction(WebView&, const NavigationAction&,
                                                      std::function<void(NavigationActionPolicy)> handler) {
    handler(NavigationActionPolicy::Allow);
}

void GalleryRenderer::webContentProcessDidTerminate(WebView& webView) {
    if (&webView != page_.get())
        return;
    std::cerr << (current_.empty() ? "page" : current_) << ": web content process ended\n";
    ++pageNumber_;
    ++failures_;
    // Not inside the web view's own report: the next page replaces it.
    std::weak_ptr<GalleryRenderer> weak = weak_from_this();
    mainQueue().async([weak] {
        auto self = weak.lock();
        if (!self)
            return;
        if (self->options_.hold)
            self->finish(1);
        else
            self->renderNext();
    });
}

void GalleryRenderer::finish(int status) {
    if (!finished_)
        return;
    auto finished = std::move(finished_);
    finished_ = nullptr;
    finished(status);
}

} // namespace orrelith::gallery
