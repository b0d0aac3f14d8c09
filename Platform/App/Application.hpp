#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// How the application shows itself: a regular application has windows and is listed among running
// applications; an accessory runs in the background with no window of its own until it switches to regular.
enum class ActivationPolicy { regular, accessory };

// One item of a menu: a command, or a separator when the title is empty.
struct MenuItem {
    std::string title;
    std::function<void()> action;
    // A letter chosen together with the primary modifier (Ctrl); empty for none.
    std::string keyEquivalent;

    static MenuItem separator() { return {}; }
    bool isSeparator() const { return title.empty(); }
};

// A menu of the menu bar; the first is the application's own menu and has no title.
struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

// What the application asks of the program that drives it. Called on the main thread, from the event loop.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Once, on the first turn of the event loop that run() starts.
    virtual void applicationDidFinishLaunching() = 0;
    // Asked each time the last of the application's windows has closed (alerts do not count): true ends
    // the application.
    virtual bool applicationShouldTerminateAfterLastWindowClosed() = 0;
};

// The running application as a whole: its event loop, its menu bar and its place among the desktop's
// applications. Main thread only. Menu actions run from the event loop, never synchronously with the call
// that installs the menu.
class Application {
public:
    virtual ~Application() = default;
    // The application keeps the delegate weakly: the program that runs it owns it.
    virtual void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) = 0;
    // Set before run() to choose how the application starts; may turn regular later.
    virtual void setActivationPolicy(ActivationPolicy policy) = 0;
    virtual ActivationPolicy activationPolicy() const = 0;
    // Replaces the menu bar. Key equivalents work in the application's windows.
    virtual void setMainMenu(std::vector<Menu> menus) = 0;
    // Runs the event loop until terminate(): the delegate hears that launching finished on its first turn.
    // Answers the process's exit status.
    virtual int run() = 0;
    // Brings the application's windows to the front and gives them the keyboard.
    virtual void activate() = 0;
    // Closes the window that has the keyboard, as its title bar's close button would; nothing without one.
    virtual void performClose() = 0;
    // Whether any window of the application, alerts included, is on screen now.
    virtual bool hasVisibleWindow() const = 0;
    // Ends the application: run() returns after the work now running. Never synchronous with the process's
    // exit, so the caller finishes what it is doing.
    virtual void terminate() = 0;
};

} // namespace orrelith::platform
