#include "Host/HostDaemon.hpp"

#include "Host/HostError.hpp"
#include "Platform/Idle/IdleInhibitors.hpp"
#include "Platform/Idle/IdleMonitor.hpp"
#include "Platform/Platform.hpp"

#include <csignal>
#include <cstring>

namespace orrelith::host {

std::shared_ptr<HostDaemon> HostDaemon::create(Plan plan, std::function<void(const std::string&)> say) {
    return std::shared_ptr<HostDaemon>(new HostDaemon(std::move(plan), std::move(say)));
}

HostDaemon::HostDaemon(Plan plan, std::function<void(const std::string&)> say)
    : plan_(std::move(plan)), say_(std::move(say)) {}

void HostDaemon::start() {
    if (!platform::idle().isAvailable())
        throw HostError(HostError::Kind::Failure,
                        "the display server does not tell when you are idle (no XSync IDLETIME counter, no "
                        "idle notification on Wayland)");
    std::weak_ptr<HostDaemon> weak = weak_from_this();
    platform::inhibitors().start([weak] {
        if (auto self = weak.lock())
            self->inhibitionChanged();
    });
    watchIdleness();
    covers_.prepare();
}

void HostDaemon::setIdleAfter(double seconds) {
    if (seconds == plan_.idleAfter)
        return;
    plan_.idleAfter = seconds;
    // The new watch reports idleness afresh; until then the user counts as not (yet) idle.
    userIdle_ = false;
    watchIdleness();
}

void HostDaemon::watchIdleness() {
    std::weak_ptr<HostDaemon> weak = weak_from_this();
    platform::idle().watch(
        plan_.idleAfter,
        [weak] {
            if (auto self = weak.lock())
                self->userIdle();
        },
        [weak] {
            if (auto self = weak.lock())
                self->userActive();
        });
}

void HostDaemon::stop() {
    platform::idle().stop();
    covers_.close();
    if (run_)
        run_->terminate();
}

void HostDaemon::userIdle() {
    userIdle_ = true;
    if (!run_ && !platform::inhibitors().isInhibited())
        startRun();
}

void HostDaemon::inhibitionChanged() {
    if (userIdle_ && !run_ && !platform::inhibitors().isInhibited())
        startRun();
}

void HostDaemon::startRun() {
    int number = ++runsStarted_;
    covers_.show();
    std::weak_ptr<HostDaemon> weak = weak_from_this();
    run_ = platform::children().startThisProgram(plan_.runArguments, [weak, number](platform::ChildEnd how) {
        if (auto self = weak.lock())
            self->runEnded(number, how);
    });
    if (!run_) {
        covers_.close();
        say_("cannot start a run of the screen saver");
        return;
    }
    platform::inhibitors().setActive(true);
}

void HostDaemon::userActive() {
    userIdle_ = false;
    covers_.close();
    if (run_)
        run_->terminate();
}

void HostDaemon::runEnded(int run, platform::ChildEnd how) {
    // Only the run in progress is current; an earlier one has long been forgotten.
    if (run != runsStarted_)
        return;
    run_.reset();
    covers_.close();
    platform::inhibitors().setActive(false);
    if (how.kind == platform::ChildEnd::Kind::Signalled && how.code != SIGTERM)
        say_("the run ended by signal " + std::to_string(how.code) + " (" + strsignal(how.code) + ")");
    else if (how.kind == platform::ChildEnd::Kind::Exited && how.code != 0)
        say_("the run ended with status " + std::to_string(how.code));
}

} // namespace orrelith::host
