// The host on two monitors of a headless sway (1280x800 at the origin, 1024x768 right of it), run by the
// same ordinary user as the compositor, with a private session bus.
#include "../Platform/MainLoopSupport.hpp"
#include "../Platform/StandIn.hpp"
#include "HostRunFixture.hpp"
#include "Platform/Platform.hpp"
#include "Platform/Views/Screen.hpp"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include <gio/gio.h>

using namespace orrelith::platform;

namespace {

struct Output {
    std::string name;
    std::string displayKey;
};

const std::vector<Output> outputs{{"HEADLESS-1", "frame-0x0"}, {"HEADLESS-2", "frame-1280x32"}};

class HostOnTwoMonitors : public HostRunFixture {
protected:
    // Where each monitor lies in the host's picture of its windows: global points (y upward) to rows.
    static std::vector<PictureRegion> monitorRegions() {
        auto all = screens().screens();
        double minX = INFINITY, maxY = -INFINITY;
        for (auto& screen : all)
            minX = std::min(minX, screen->frame().minX()), maxY = std::max(maxY, screen->frame().maxY());
        std::vector<PictureRegion> regions;
        for (auto& screen : all)
            regions.push_back({static_cast<int>(screen->frame().minX() - minX), static_cast<int>(maxY - screen->frame().maxY()),
                               static_cast<int>(screen->frame().width()), static_cast<int>(screen->frame().height())});
        return regions;
    }

    // The scene each region of a picture shows, when every region clearly shows one.
    static std::optional<std::vector<std::string>> scenesIn(const ScenePicture& picture,
                                                            const std::vector<PictureRegion>& regions) {
        std::vector<std::string> slugs;
        for (auto& region : regions) {
            if (region.x + region.width > picture.width() || region.y + region.height > picture.height())
                return std::nullopt;
            auto match = picture.nearest(region, gallery());
            if (!match.isClear())
                return std::nullopt;
            slugs.push_back(match.slug);
        }
        return slugs;
    }

    // The scene one output shows, as the compositor draws it; nothing when no scene clearly shows.
    std::optional<std::string> sceneOn(const std::string& output) {
        auto png = file(output + ".png");
        commandOutput("grim -o " + output + " " + png.string());
        auto shot = ScenePicture::load(png);
        auto scene = shot ? scenesIn(*shot, {shot->whole()}) : std::nullopt;
        return scene ? std::optional(scene->front()) : std::nullopt;
    }

    // What the compositor shows on each output, in the order of `outputs`. One output at a time: grim's
    // picture of the whole layout may show one output as it was before the windows came.
    std::optional<std::vector<std::string>> scenesOnScreen() {
        std::vector<std::string> slugs;
        for (auto& output : outputs) {
            auto scene = sceneOn(output.name);
            if (!scene)
                return std::nullopt;
            slugs.push_back(*scene);
        }
        return slugs;
    }

    // The scenes once every output shows one, within `seconds` and while the host runs.
    std::optional<std::vector<std::string>> waitForScenes(HostProcess& host, double seconds) {
        std::optional<std::vector<std::string>> shown;
        pumpUntil([&] { return (shown = scenesOnScreen()).has_value() || !host.isRunning(); }, seconds);
        return shown;
    }

    // Runs the host until every output shows a scene, then ends it as a signal does.
    std::optional<std::vector<std::string>> runUntilEveryOutputShowsAScene() {
        received->clear();
        auto host = start(withBundle({"--duration", "60"}));
        auto shown = waitForScenes(*host, 20);
        host->sendSignal(SIGTERM);
        expectCleanEnd(*host, 20);
        return shown;
    }
};

TEST_F(HostOnTwoMonitors, EachMonitorShowsASceneOfItsOwnOnScreenAndInTheHostsPicture) {
    ASSERT_EQ(monitorRegions().size(), 2u);
    auto picture = file("run.png");
    auto host = start(withBundle({"--duration", "16", "--screenshot", picture.string(), "--screenshot-after", "12"}));
    auto onScreen = waitForScenes(*host, 14);
    ASSERT_TRUE(onScreen) << "the monitors do not both show a scene; see " << file("") << "\n" << host->messages();
    EXPECT_NE((*onScreen)[0], (*onScreen)[1]) << "the default settings ask for distinct scenes";

    expectCleanEnd(*host, 40);
    auto shot = ScenePicture::load(picture);
    ASSERT_TRUE(shot) << "no picture at " << picture;
    // The screen list starts with the monitor at the origin, as `outputs` does.
    auto inPicture = scenesIn(*shot, monitorRegions());
    ASSERT_TRUE(inPicture) << "the host's picture does not show a scene on each monitor: " << picture;
    EXPECT_EQ(*inPicture, *onScreen) << "the picture shows what the monitors show";
}

// Each view finds its own monitor, also while the compositor has not yet placed its window: a pin applies
// to its display only, in run after run.
TEST_F(HostOnTwoMonitors, APinShowsOnItsOwnDisplayOnlyRunAfterRun) {
    struct Case {
        const char* name;
        // The pinned scene of each output in the order of `outputs`; empty where the display shuffles.
        std::vector<std::string> pins;
        int runs;
    };
    const std::vector<Case> cases{
        {"a pin at the origin", {"star-chart", ""}, 1},
        {"a pin right of it", {"", "reactor-core"}, 1},
        {"a pin on each", {"star-chart", "reactor-core"}, 4},
    };
    for (const auto& pinCase : cases) {
        // As the options window writes it: each display's mode and name. A shuffling display deals from a
        // pool without the other's pin (a display that deals before its neighbour has chosen may otherwise
        // deal that very scene), so the pin on the wrong display can only come from the wrong key.
        std::string displays, names, pinned;
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            const auto& key = outputs[i].displayKey;
            std::string mode = pinCase.pins[i].empty() ? "{\"shuffle\":{}}" : "{\"fixed\":{\"_0\":\"" + pinCase.pins[i] + "\"}}";
            displays += std::string(i ? "," : "") + "\"" + key + "\":" + mode;
            names += std::string(i ? "," : "") + "\"" + key + "\":\"" + outputs[i].name + "\"";
            if (!pinCase.pins[i].empty())
                pinned = pinCase.pins[i];
        }
        std::string pool = pinned == "star-chart" ? "\"reactor-core\",\"power-grid\"" : "\"star-chart\",\"power-grid\"";
        writeSettings("{\"displays\":{" + displays + "},\"displayNames\":{" + names + "},\"shufflePool\":[" + pool + "]}");
        for (int run = 1; run <= pinCase.runs; ++run) {
            SCOPED_TRACE(std::string(pinCase.name) + ", run " + std::to_string(run));
            auto shown = runUntilEveryOutputShowsAScene();
            ASSERT_TRUE(shown) << "not every output shows a scene; see " << file("");
            for (std::size_t i = 0; i < outputs.size(); ++i) {
                const auto& other = pinCase.pins[1 - i];
                if (!pinCase.pins[i].empty())
                    EXPECT_EQ((*shown)[i], pinCase.pins[i]) << outputs[i].name;
                else
                    EXPECT_NE((*shown)[i], other) << outputs[i].name << " shows the other display's pin";
            }
        }
    }
}

// A command to the compositor, through its socket in the runtime folder; its answer.
std::string swaymsg(const std::string& arguments) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    auto socket = commandOutput(std::string("ls ") + (runtime ? runtime : "/nonexistent") + "/sway-ipc.* | head -n1");
    socket.erase(socket.find_last_not_of('\n') + 1);
    return commandOutput("swaymsg -s " + socket + " " + arguments);
}

// Input through sway's own seat: the compositor counts it as the user's activity.
void moveCursor(int x, int y) { swaymsg("seat seat0 cursor set " + std::to_string(x) + " " + std::to_string(y)); }

// The host's windows the compositor manages, by their application id.
int hostWindowCount() {
    auto tree = swaymsg("-t get_tree");
    int count = 0;
    for (auto at = tree.find("\"app_id\": \"quorvane-host\""); at != std::string::npos;
         at = tree.find("\"app_id\": \"quorvane-host\"", at + 1))
        ++count;
    return count;
}

TEST_F(HostOnTwoMonitors, TheDaemonCoversEveryMonitorWhileTheUserIsIdleAndStopsWhenTheyComeBack) {
    auto daemon = start(withBundle({"--daemon", "--idle-after", "2"}));
    auto runOf = [&] { return commandOutput("pgrep -P " + std::to_string(daemon->pid())); };
    auto webProcesses = [] { return commandOutput("pgrep -u " + std::to_string(getuid()) + " WebKitWebProces"); };
    pumpFor(1.5);
    EXPECT_TRUE(runOf().empty()) << "a run before 2 s of idleness";
    ASSERT_TRUE(pumpUntil([&] { return !runOf().empty(); }, 1.5)) << "no run within a second after 2 s\n"
                                                                    << daemon->messages();
    EXPECT_TRUE(pumpUntil([&] { return scenesOnScreen().has_value(); }, 10)) << "not every monitor shows a scene";

    moveCursor(600, 400);
    EXPECT_TRUE(pumpUntil([&] { return runOf().empty() && hostWindowCount() == 0; }, 1.5))
        << "the run or the daemon's covers go on after the user came back";
    EXPECT_TRUE(pumpUntil([&] { return webProcesses().empty(); }, 3)) << "web processes left: " << webProcesses();
    EXPECT_TRUE(pumpUntil([&] { return !runOf().empty(); }, 3.5)) << "the next idle period starts no run";

    daemon->sendSignal(SIGTERM);
    ASSERT_TRUE(daemon->waitForExit(10)) << daemon->messages();
    EXPECT_EQ(daemon->exitStatus(), 0) << daemon->messages();
}

// sway 1.7 keeps a disabled output's wl_output, so GTK never hears that one goes: removal is tested on the
// fake platform.
TEST_F(HostOnTwoMonitors, SleepUnloadsEverySceneWakeBringsTheSameOnesBackAndAnAddedMonitorShowsOne) {
    PrivateBus systemBus(PrivateBus::Kind::Open);
    ASSERT_TRUE(systemBus.isListening());
    StandIn logind(systemBus, "org.freedesktop.login1", "/org/freedesktop/login1", logindManager);
    auto host = start(withBundle({"--duration", "60"}), {"DBUS_SYSTEM_BUS_ADDRESS=" + systemBus.address()});
    auto before = waitForScenes(*host, 15);
    ASSERT_TRUE(before) << host->messages();
    // Each output pictured, and none showing a scene.
    auto dark = [&] {
        return std::all_of(outputs.begin(), outputs.end(), [&](auto& output) {
            return !sceneOn(output.name) && ScenePicture::load(file(output.name + ".png"));
        });
    };
    logind.emit("org.freedesktop.login1.Manager", "PrepareForSleep", g_variant_new("(b)", TRUE));
    EXPECT_TRUE(pumpUntil(dark, 5)) << "a scene still shows while the system sleeps";
    logind.emit("org.freedesktop.login1.Manager", "PrepareForSleep", g_variant_new("(b)", FALSE));
    auto after = waitForScenes(*host, 10);
    EXPECT_EQ(after, before) << "the scenes from before the sleep come back";

    swaymsg("create_output");
    EXPECT_TRUE(pumpUntil([&] { return sceneOn("HEADLESS-3").has_value(); }, 10))
        << "no scene on the added output; see " << file("HEADLESS-3.png");
    EXPECT_EQ(hostWindowCount(), 3);
    host->sendSignal(SIGTERM);
    expectCleanEnd(*host, 20);
}

// A bus that never answers must not keep the screens black: the toolkit and the web engine would wait
// for it on the main thread. Scenes come within a second or two with any bus; the bound is generous.
TEST_F(HostOnTwoMonitors, EveryMonitorShowsASceneAlsoWhenABusNeverAnswers) {
    for (const std::string variable : {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        SCOPED_TRACE(variable);
        PrivateBus bus(PrivateBus::Kind::Hung);
        ASSERT_TRUE(bus.isListening());
        auto host = start(withBundle({"--duration", "60"}), {variable + "=" + bus.address()});
        auto shown = waitForScenes(*host, 10);
        EXPECT_TRUE(shown) << "no scene on every monitor within 10 s; see " << file("") << "\n" << host->messages();
        host->sendSignal(SIGTERM);
        ASSERT_TRUE(host->waitForExit(20)) << host->messages();
        EXPECT_EQ(host->exitStatus(), 0) << host->messages();
    }
}

} // namespace
