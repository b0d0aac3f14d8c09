#include "SaverViewFixture.hpp"


namespace orrelith::testing {

using namespace platform;

namespace {

const char* catalogJSON = R"({"mirrored":"test","scenes":[
 {"slug":"alpha","title":"Bridge","subtitle":"a","channel":7,"generation":1},
 {"slug":"beta","title":"Reactor","subtitle":"b","channel":12,"generation":2},
 {"slug":"gamma","title":"Sensors","subtitle":"c","channel":123,"generation":3},
 {"slug":"delta","title":"Sickbay","subtitle":"d","channel":4,"generation":4},
 {"slug":"epsilon","title":"Helm","subtitle":"e","channel":5,"generation":7,"path":"helm/index.html"}]})";

} // namespace

SaverViewFixture::SaverViewFixture() {
    bundle_ = root_ / "Quorvane.saver";
    std::filesystem::create_directories(root_ / "home");
    fake.system->homeFolderValue = root_ / "home";
    root_.write("Quorvane.saver/Contents/Resources/ORVEX/catalog.json", catalogJSON);
    for (const char* slug : {"alpha", "beta", "gamma", "delta", "epsilon"})
        root_.write("Quorvane.saver/Contents/Resources/ORVEX/gallery/" + std::string(slug) + ".jpg", "jpeg");
    fake.system->codeBundle = Bundle{bundle_, resources(), {}, {}};
    fake.audio->files[resources() / "ORVEX/sound/ambience.m4a"] = FakeAudioSystem::Track{};
    fake.screens->add(Rect::make(0, 0, 1440, 900), "Built-in Display", 1, leftKey);
    fake.screens->add(Rect::make(1440, 0, 1920, 1080), "External Display", 2, rightKey);
    Ambience::resetForTesting();
    SceneWeb::resetForTesting();
    SceneThumbnails::resetForTesting();
    // The track decoded as after a process's first run, so that a view's sound starts with the view.
    Ambience::start(Settings{});
    fake.advanceBy(Ambience::readDelay);
    Ambience::stop();
    started_ = fake.queue->now();
}

SaverViewFixture::~SaverViewFixture() {
    for (auto& display : displays_)
        display.view->stopAnimation();
    SaverView::live().clear();
    Ambience::resetForTesting();
    SceneWeb::resetForTesting();
    SceneThumbnails::resetForTesting();
    for (const auto& key : {leftKey, rightKey})
        SceneChooser::shared().release(key);
    SceneChooser::shared().setRandom(SceneChooser::systemRandom());
}

void SaverViewFixture::save(const Settings& settings) { SettingsFile::inSupport(root_ / "home", "ORVEX").save(settings); }

Settings SaverViewFixture::shuffling(double interval) {
    Settings settings;
    settings.shuffleInterval = interval;
    return settings;
}

std::shared_ptr<SaverView> SaverViewFixture::makeView(std::size_t index) {
    auto frame = fake.screens->list.at(index)->frame();
    return SaverView::create(Rect{{0, 0}, frame.size}, SaverMode::FullScreen);
}

std::shared_ptr<Window> SaverViewFixture::putInWindow(const std::shared_ptr<SaverView>& view, std::size_t index) {
    auto window = Window::create(fake.screens->list.at(index)->frame(), WindowStyle::Borderless);
    window->setContentView(view);
    window->orderFront();
    return window;
}

Display SaverViewFixture::startDisplay(std::size_t index) {
    auto view = makeView(index);
    auto window = putInWindow(view, index);
    view->startAnimation();
    displays_.push_back({view, window});
    return displays_.back();
}

std::size_t SaverViewFixture::webViewCount(const SaverView& view) {
    std::size_t count = 0;
    for (const auto& subview : view.subviews())
        if (std::dynamic_pointer_cast<WebView>(subview))
            ++count;
    return count;
}

std::string SaverViewFixture::catalogCaption(const std::string& slug) const {
    auto catalog = Catalog::decode(catalogJSON);
    const Scene* scene = catalog.scene(slug);
    return scene ? scene->caption() : std::string();
}

} // namespace orrelith::testing
