#include "Host/RunSession.hpp"

#include "Host/HostError.hpp"
#include "Platform/System/NotificationCenter.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Screen.hpp"
#include "Platform/Views/WindowSystem.hpp"

#include <algorithm>
#include <utility>

namespace orrelith::host {

std::shared_ptr<RunSession> RunSession::create(platform::ClassRegistry::Entry principal, Plan plan,
                                               std::function<void(const std::string&)> say,
                                               std::function<void()> finished) {
    return std::shared_ptr<RunSession>(
        new RunSession(std::move(principal), std::move(plan), std::move(say), std::move(finished)));
}

RunSession::RunSession(platform::ClassRegistry::Entry principal, Plan plan,
                       std::function<void(const std::string&)> say, std::function<void()> finished)
    : principal_(std::move(principal)), plan_(std::move(plan)), say_(std::move(say)), finished_(std::move(finished)),
      monitor_(plan_.mode) {}

void RunSession::start() {
    if (started_)
        return;
    started_ = true;
    makeStages();
    for (auto& stage : stages_)
        show(stage);
    if (plan_.mode == HostMode::FullScreen)
        followScreens();
    scheduleEndings();
}

void RunSession::show(const SaverStage& stage) {
    // Watched before it is shown: a window that appears tells where the pointer is.
    watch(stage);
    stage.window->orderFront();
    stage.view->startAnimation();
    animate(stage);
}

void RunSession::followScreens() {
    std::weak_ptr<RunSession> weak = weak_from_this();
    platform::screens().setChangeHandler([weak] {
        if (auto self = weak.lock(); self && !self->ended_)
            self->screensChanged();
    });
}

// A monitor that goes takes its view with it, stopped as at the end of a run; one that comes gets a view.
void RunSession::screensChanged() {
    auto now = platform::screens().screens();
    for (std::size_t i = stages_.size(); i-- > 0;) {
        if (std::find(now.begin(), now.end(), stages_[i].screen) != now.end())
            continue;
        closeStage(stages_[i]);
        if (frameTimers_[i])
            frameTimers_[i]->invalidate();
        stages_.erase(stages_.begin() + static_cast<std::ptrdiff_t>(i));
        frameTimers_.erase(frameTimers_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    for (auto& screen : now) {
        // Its frame comes later, with another change.
        if (screen->frame().width() <= 0 || screen->frame().height() <= 0)
            continue;
        bool covered = std::any_of(stages_.begin(), stages_.end(), [&](const SaverStage& stage) {
            return stage.screen == screen;
        });
        if (covered)
            continue;
        stages_.push_back(SaverStage::fullScreen(principal_, screen));
        show(stages_.back());
    }
}

void RunSession::closeStage(const SaverStage& stage) {
    stage.view->stopAnimation();
    stage.window->setUserEventHandler(nullptr);
    if (auto sheet = stage.window->attachedSheet())
        sheet->close();
    stage.window->close();
}

void RunSession::makeStages() {
    switch (plan_.mode) {
    case HostMode::FullScreen:
        for (auto& screen : platform::screens().screens())
            stages_.push_back(SaverStage::fullScreen(principal_, screen));
        if (stages_.empty())
            throw HostError(HostError::Kind::Failure, "there is no screen to show the screen saver on");
        break;
    case HostMode::Preview:
        stages_.push_back(SaverStage::preview(principal_, plan_.title));
        break;
    case HostMode::Settings:
        stages_.push_back(SaverStage::settings(principal_, plan_.title));
        break;
    }
}

// The window's own events come inside the toolkit's delivery: the end, which closes windows, comes later.
void RunSession::watch(const SaverStage& stage) {
    std::weak_ptr<RunSession> weak = weak_from_this();
    const void* key = stage.window.get();
    stage.window->setUserEventHandler([weak, key](const platform::UserEvent& event) {
        auto self = weak.lock();
        if (!self || self->ended_)
            return;
        if (self->monitor_.endsRun(key, event))
            self->endLater();
    });
}

void RunSession::animate(const SaverStage& stage) {
    double interval = stage.view->animationTimeInterval();
    // One entry a stage, so that a stage and its timer go together.
    if (!(interval > 0)) {
        frameTimers_.push_back(nullptr);
        return;
    }
    std::weak_ptr<platform::ScreenSaverView> weakView = stage.view;
    frameTimers_.push_back(platform::mainQueue().scheduleRepeating(interval, [weakView] {
        if (auto view = weakView.lock(); view && view->isAnimating())
            view->animateOneFrame();
    }));
}

void RunSession::scheduleEndings() {
    std::weak_ptr<RunSession> weak = weak_from_this();
    if (plan_.duration)
        platform::mainQueue().asyncAfter(*plan_.duration, [weak] {
            if (auto self = weak.lock())
                self->end();
        });
    if (plan_.screenshot)
        platform::mainQueue().asyncAfter(plan_.screenshotDelay, [weak] {
            if (auto self = weak.lock(); self && !self->ended_)
                self->takeScreenshot();
        });
}

void RunSession::takeScreenshot() {
    if (screenshotTaken_ || !plan_.screenshot)
        return;
    screenshotTaken_ = true;
    std::vector<std::shared_ptr<platform::Window>> windows;
    for (auto& stage : stages_)
        windows.push_back(stage.window);
    if (auto failure = platform::windows().writeScreenshot(windows, *plan_.screenshot)) {
        say_("no screenshot: " + *failure);
        status_ = 1;
        return;
    }
    say_("screenshot written to " + plan_.screenshot->string());
}

void RunSession::endLater() {
    if (std::exchange(endQueued_, true))
        return;
    std::weak_ptr<RunSession> weak = weak_from_this();
    platform::mainQueue().async([weak] {
        if (auto self = weak.lock())
            self->end();
    });
}

void RunSession::stopViews(Ending how) {
    bool tell = how == Ending::Finished;
    if (tell)
        platform::distributedCenter().post(platform::ScreenSaverView::willStopNotification);
    for (auto& stage : stages_)
        stage.view->stopAnimation();
    if (tell)
        platform::distributedCenter().post(platform::ScreenSaverView::didStopNotification);
}

void RunSession::end(Ending how) {
    if (std::exchange(ended_, true))
        return;
    // The picture asked for shows the run, so it is taken before anything stops.
    if (started_)
        takeScreenshot();
    for (auto& timer : frameTimers_)
        if (timer)
            timer->invalidate();
    frameTimers_.clear();
    if (plan_.mode == HostMode::FullScreen)
        platform::screens().setChangeHandler(nullptr);
    stopViews(how);
    for (auto& stage : stages_) {
        stage.window->setUserEventHandler(nullptr);
        if (auto sheet = stage.window->attachedSheet())
            sheet->close();
        stage.window->close();
    }
    std::weak_ptr<RunSession> weak = weak_from_this();
    platform::mainQueue().async([weak] {
        if (auto self = weak.lock(); self && self->finished_)
            self->finished_();
    });
}

} // namespace orrelith::host
