#pragma once

#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Fake/Views/FakeScreenList.hpp"
#include "Platform/Fake/Views/FakeButtonBackend.hpp"
#include "Platform/Fake/Views/FakeImageViewBackend.hpp"
#include "Platform/Fake/Views/FakeLabelBackend.hpp"
#include "Platform/Fake/Views/FakeViewBackend.hpp"
#include "Platform/Fake/Views/FakeWindowBackend.hpp"
#include "Platform/Views/WindowSystem.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// Views, windows and animations in memory, on the fake queue's virtual clock. An animation group's
// completion runs exactly `duration` seconds after the group started (on a later turn when it is 0 or
// nothing changed); meanwhile each backend's drawn opacity moves linearly toward the target. A file counts
// as an image when it exists and is not empty. Main thread only.
class FakeWindowSystem : public WindowSystem, public std::enable_shared_from_this<FakeWindowSystem> {
public:
    struct AnimationRecord {
        double duration = 0;
        std::size_t changes = 0;
        double startedAt = 0;
    };
    struct ScreenshotRecord {
        std::filesystem::path png;
        std::vector<Rect> windowFrames;
        double takenAt = 0;
    };
    struct Record {
        std::size_t viewBackendsMade = 0;
        std::size_t labelBackendsMade = 0;
        std::size_t imageViewBackendsMade = 0;
        std::size_t buttonBackendsMade = 0;
        std::size_t windowBackendsMade = 0;
        std::size_t windowPreparations = 0;
        std::vector<std::filesystem::path> imageLoads;
        std::vector<AnimationRecord> animations;
        std::size_t completionsRun = 0;
        std::vector<ScreenshotRecord> screenshots;
    };

    FakeWindowSystem(std::shared_ptr<FakeMainQueue> queue, std::shared_ptr<FakeScreenList> screens);

    std::unique_ptr<ViewBackend> makeViewBackend() override;
    std::unique_ptr<LabelBackend> makeLabelBackend() override;
    std::unique_ptr<ImageViewBackend> makeImageViewBackend() override;
    std::unique_ptr<ButtonBackend> makeButtonBackend() override;
    std::unique_ptr<WindowBackend> makeWindowBackend(Window& window, const Rect& contentRect,
                                                     WindowStyle style) override;
    std::shared_ptr<Image> loadImage(const std::filesystem::path& path) override;
    void animate(AnimationGroup group) override;
    void prepareWindows() override { ++record_.windowPreparations; }
    // Records the request and writes nothing; answers `screenshotFailure`.
    std::optional<std::string> writeScreenshot(const std::vector<std::shared_ptr<Window>>& windows,
                                               const std::filesystem::path& png) override;

    const Record& record() const { return record_; }
    // The size every loaded image reports.
    Size imageSize{640, 400};
    std::optional<std::string> screenshotFailure;

private:
    void finish(std::uint64_t id, const AnimationGroup& group);

    std::shared_ptr<FakeMainQueue> queue_;
    std::shared_ptr<FakeScreenList> screens_;
    std::uint64_t nextGroup_ = 1;
    Record record_;
};

} // namespace orrelith::platform
