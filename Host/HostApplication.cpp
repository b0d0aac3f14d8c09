#include "Host/HostApplication.hpp"

#include "Host/HostError.hpp"
#include "Host/IdleDelaySetting.hpp"
#include "Host/SaverChoice.hpp"
#include "Host/SaverBundleLoader.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/UserDefaults.hpp"

#include <exception>
#include <utility>

namespace orrelith::host {

namespace {

// The delay the settings pane stores; the default when there is none that makes sense.
double storedIdleDelay() { return IdleDelaySetting::storedSeconds().value_or(IdleDelaySetting::defaultSeconds); }

// A daemon whose command line names no screen saver runs the one chosen in the settings pane.
std::vector<std::string> runArguments(const HostOptions& options) { return SaverChoice::applied(options).runArguments(); }

void requireDisplay() {
    if (!platform::installed().screens || !platform::installed().windows)
        throw HostError(HostError::Kind::Failure,
                        "no display to show the screen saver on (DISPLAY or WAYLAND_DISPLAY names none that opens)");
}

} // namespace

std::shared_ptr<HostApplication> HostApplication::create(std::shared_ptr<platform::MainLoop> loop, std::ostream& out,
                                                         std::ostream& messages, SettingsWindowFactory settingsPane) {
    return std::shared_ptr<HostApplication>(
        new HostApplication(std::move(loop), out, messages, std::move(settingsPane)));
}

HostApplication::HostApplication(std::shared_ptr<platform::MainLoop> loop, std::ostream& out, std::ostream& messages,
                                 SettingsWindowFactory settingsPane)
    : loop_(std::move(loop)), out_(out), messages_(messages), settingsPaneFactory_(std::move(settingsPane)) {}

int HostApplication::run(const std::vector<std::string>& arguments) {
    try {
        auto options = HostOptions::parse(arguments);
        if (options.help) {
            out_ << HostOptions::usage();
            return 0;
        }
        if (options.daemon)
            return runDaemon(options);
        if (options.mode == HostMode::Settings && settingsPaneFactory_)
            return runSettingsPane(options);
        return runSaver(options);
    } catch (const HostError& error) {
        say(error.what());
        if (error.kind() == HostError::Kind::Usage)
            messages_ << HostOptions::usage();
        return error.exitStatus();
    } catch (const std::exception& error) {
        say(std::string("the screen saver failed: ") + error.what());
        return 1;
    }
}

int HostApplication::runSaver(const HostOptions& options) {
    auto saver = SaverBundleLoader::load(options.bundlePath(platform::system().homeFolder()));
    requireDisplay();
    RunSession::Plan plan{options.mode, saver.displayName(), options.duration, options.screenshot,
                          options.screenshotDelay};
    std::weak_ptr<HostApplication> weakSelf = weak_from_this();
    std::weak_ptr<platform::MainLoop> weakLoop = loop_;
    session_ = RunSession::create(
        saver.principal, plan,
        [weakSelf](const std::string& line) {
            if (auto self = weakSelf.lock())
                self->say(line);
        },
        [weakLoop] {
            if (auto loop = weakLoop.lock())
                loop->quit();
        });
    handleTerminationSignals();
    if (options.mode != HostMode::FullScreen)
        handleReloadSignal();
    session_->start();
    loop_->run();
    return session_->exitStatus();
}

int HostApplication::runSettingsPane(const HostOptions& options) {
    requireDisplay();
    std::weak_ptr<HostApplication> weakSelf = weak_from_this();
    std::weak_ptr<platform::MainLoop> weakLoop = loop_;
    settingsPane_ = settingsPaneFactory_(
        options,
        [weakLoop] {
            if (auto loop = weakLoop.lock())
                loop->quit();
        },
        [weakSelf](const std::string& line) {
            if (auto self = weakSelf.lock())
                self->say(line);
        });
    handlePaneSignals();
    settingsPane_->show();
    loop_->run();
    return 0;
}

// A termination signal closes the pane; SIGHUP closes it for a fresh start.
void HostApplication::handlePaneSignals() {
    std::weak_ptr<HostApplication> weakSelf = weak_from_this();
    std::weak_ptr<SettingsWindow> weakPane = settingsPane_;
    loop_->setTerminationHandler([weakPane](int) {
        if (auto pane = weakPane.lock())
            pane->close();
    });
    loop_->setReloadHandler([weakSelf, weakPane] {
        auto self = weakSelf.lock();
        auto pane = weakPane.lock();
        if (!self || !pane || std::exchange(self->reloadRequested_, true))
            return;
        self->say("loading the screen saver afresh");
        pane->close();
    });
}

int HostApplication::runDaemon(const HostOptions& options) {
    HostDaemon::Plan plan{options.idleAfter.value_or(storedIdleDelay()), runArguments(options)};
    std::weak_ptr<HostApplication> weakSelf = weak_from_this();
    daemon_ = HostDaemon::create(plan, [weakSelf](const std::string& line) {
        if (auto self = weakSelf.lock())
            self->say(line);
    });
    std::weak_ptr<HostDaemon> weakDaemon = daemon_;
    std::weak_ptr<platform::MainLoop> weakLoop = loop_;
    loop_->setTerminationHandler([weakDaemon, weakLoop](int) {
        if (auto daemon = weakDaemon.lock())
            daemon->stop();
        if (auto loop = weakLoop.lock())
            loop->quit();
    });
    // It holds no plug-in: each run loads the installed copy afresh.
    loop_->setReloadHandler(nullptr);
    daemon_->start();
    followStoredPreferences(options);
    loop_->run();
    platform::preferences().setStandardDefaultsChangeHandler(nullptr);
    return 0;
}

// The settings pane writes the delay and the chosen screen saver while the daemon waits; what the daemon's
// command line gives wins.
void HostApplication::followStoredPreferences(const HostOptions& options) {
    std::weak_ptr<HostDaemon> weakDaemon = daemon_;
    platform::preferences().setStandardDefaultsChangeHandler([weakDaemon, options] {
        auto daemon = weakDaemon.lock();
        if (!daemon)
            return;
        if (!options.idleAfter)
            daemon->setIdleAfter(storedIdleDelay());
        daemon->setRunArguments(runArguments(options));
    });
}

void HostApplication::handleTerminationSignals() {
    std::weak_ptr<RunSession> weakSession = session_;
    std::weak_ptr<platform::MainLoop> weakLoop = loop_;
    loop_->setTerminationHandler([weakSession, weakLoop](int) {
        auto session = weakSession.lock();
        if (session && !session->hasEnded())
            session->end();
        else if (auto loop = weakLoop.lock())
            loop->quit();
    });
}

void HostApplication::handleReloadSignal() {
    std::weak_ptr<HostApplication> weakSelf = weak_from_this();
    loop_->setReloadHandler([weakSelf] {
        auto self = weakSelf.lock();
        if (!self || !self->session_ || self->session_->hasEnded())
            return;
        self->reloadRequested_ = true;
        self->say("loading the screen saver afresh");
        self->session_->end(RunSession::Ending::Reload);
    });
}

void HostApplication::say(const std::string& line) { messages_ << programName << ": " << line << std::endl; }

} // namespace orrelith::host
