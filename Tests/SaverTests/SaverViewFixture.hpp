#pragma once

#include <gtest/gtest.h>

#include "TemporaryFolder.hpp"
#include "OrrelithCore/SceneChooser.hpp"
#include "OrrelithCore/SettingsFile.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Fake/Web/FakeWebViewBackend.hpp"
#include "Platform/Views/Window.hpp"
#include "Saver/Ambience.hpp"
#include "Saver/SaverView.hpp"
#include "Saver/SceneThumbnails.hpp"
#include "Saver/SceneWeb.hpp"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orrelith::testing {

// One display's saver: the view, full screen in its own window.
struct Display {
    std::shared_ptr<SaverView> view;
    std::shared_ptr<platform::Window> window;
};

// A fake platform with a saver bundle on disk (catalog of five scenes, thumbnails, the track), a home
// folder of its own, and two screens side by side: 1440 x 900 at the origin and 1920 x 1080 to its right.
class SaverViewFixture : public ::testing::Test {
protected:
    static constexpr const char* leftKey = "11111111-2222-3333-4444-555555555555";
    static constexpr const char* rightKey = "AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE";

    SaverViewFixture();
    ~SaverViewFixture() override;

    // Settings as the options application would have saved them.
    void save(const Settings& settings);
    static Settings shuffling(double interval);
    std::filesystem::path resources() const { return bundle_ / "Contents/Resources"; }

    // A full-screen view for screen `index`, put into a shown window, then started.
    Display startDisplay(std::size_t index);
    // The same, with startAnimation before the window exists.
    std::shared_ptr<SaverView> makeView(std::size_t index);
    std::shared_ptr<platform::Window> putInWindow(const std::shared_ptr<SaverView>& view, std::size_t index);
    // Saves `settings`, starts the first screen's display and ends the rule list's compilation.
    Display startWith(const Settings& settings) {
        save(settings);
        auto display = startDisplay(0);
        compileRules();
        return display;
    }

    // Ends the network-blocking rule list's compilation.
    void compileRules() {
        fake.web->ruleLists->completeAll();
        fake.runUntilIdle();
    }
    // The current page of `view` reports that it finished loading.
    static void finishLoad(const SaverView& view) { platform::FakeWebViewBackend::of(*view.web()).finishNavigation(); }
    static std::size_t webViewCount(const SaverView& view);
    bool soundPlaying() const { return fake.audio->isAudible(); }
    // The caption the catalog on disk gives the scene.
    std::string catalogCaption(const std::string& slug) const;

    // The virtual instant at which each test starts.
    double started_ = 0;
    TemporaryFolder root_{"saver-view"};
    std::filesystem::path bundle_;
    platform::FakePlatform fake;
    std::vector<Display> displays_;
};

} // namespace orrelith::testing
