#include "Platform/Linux/App/GtkRunningApplication.hpp"

#include <csignal>
#include <exception>
#include <iostream>

#include <glib-unix.h>
#include <gtk/gtk.h>

namespace orrelith::platform {

namespace {

constexpr const char* trackedKey = "orrelith-application-tracked";

// Runs delegate code from a GLib callback: nothing it throws may cross into the toolkit.
template <typename Work>
void guarded(const char* what, Work&& work) {
    try {
        work();
    } catch (const std::exception& error) {
        std::cerr << "Quorvane Options: " << what << ": " << error.what() << '\n';
    } catch (...) {
        std::cerr << "Quorvane Options: " << what << " failed\n";
    }
}

// Alerts are modal; the windows that make up the application are not.
bool counts(GtkWindow* window) { return !gtk_window_get_modal(window); }

std::vector<GtkWindow*> toplevels() {
    std::vector<GtkWindow*> windows;
    GListModel* list = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(list); ++i) {
        auto* window = GTK_WINDOW(g_list_model_get_item(list, i));
        g_object_unref(window);
        windows.push_back(window);
    }
    return windows;
}

} // namespace

struct GtkRunningApplication::State {
    GtkApplication* application = nullptr;
    std::weak_ptr<ApplicationDelegate> delegate;
    ActivationPolicy policy = ActivationPolicy::regular;
    // The items of the menu bar, by action number.
    std::vector<std::function<void()>> actions;
    bool launched = false;
    bool held = false;
    guint lastWindowCheck = 0;

    static void startedUp(GApplication* application, gpointer data);
    static void activated(GApplication*, gpointer data);
    static void itemChosen(GSimpleAction* action, GVariant*, gpointer data);
    static void toplevelsChanged(GListModel*, guint, guint, guint, gpointer data);
    static void visibilityChanged(GtkWindow* window, GParamSpec*, gpointer data);
    static gboolean checkLastWindow(gpointer data);
    static gboolean signalled(gpointer data);

    void trackAll();
    void addItem(GMenu* section, const MenuItem& item);
    void bringWindowsForward();
    void clearActions();
};

// Only the instance that runs the application starts up; a start handed to another never does.
void GtkRunningApplication::State::startedUp(GApplication* application, gpointer data) {
    // Windows come and go while it runs; it ends only through terminate() or the last window's close.
    g_application_hold(application);
    static_cast<State*>(data)->held = true;
}

void GtkRunningApplication::State::activated(GApplication*, gpointer data) {
    auto* state = static_cast<State*>(data);
    // A later activation is another start handed over to this one: it only comes to the front.
    if (state->launched) {
        state->bringWindowsForward();
        return;
    }
    state->launched = true;
    if (auto delegate = state->delegate.lock())
        guarded("start-up", [&] { delegate->applicationDidFinishLaunching(); });
}

void GtkRunningApplication::State::itemChosen(GSimpleAction* action, GVariant*, gpointer data) {
    auto* state = static_cast<State*>(data);
    auto index = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(action), "orrelith-item"));
    if (index >= state->actions.size())
        return;
    // A copy: the action may replace the menu bar.
    auto work = state->actions[index];
    guarded("menu item", [&] { work(); });
}

void GtkRunningApplication::State::toplevelsChanged(GListModel*, guint, guint, guint, gpointer data) {
    static_cast<State*>(data)->trackAll();
}

void GtkRunningApplication::State::trackAll() {
    for (auto* window : toplevels()) {
        if (g_object_get_data(G_OBJECT(window), trackedKey))
            continue;
        g_object_set_data(G_OBJECT(window), trackedKey, GINT_TO_POINTER(1));
        g_signal_connect(window, "notify::visible", G_CALLBACK(visibilityChanged), this);
        if (gtk_widget_get_visible(GTK_WIDGET(window)))
            visibilityChanged(window, nullptr, this);
    }
}

void GtkRunningApplication::State::visibilityChanged(GtkWindow* window, GParamSpec*, gpointer data) {
    auto* state = static_cast<State*>(data);
    if (!counts(window))
        return;
    if (gtk_widget_get_visible(GTK_WIDGET(window))) {
        // Shortcuts of the application reach only its own windows.
        if (!gtk_window_get_application(window))
            gtk_window_set_application(window, state->application);
    } else if (!state->lastWindowCheck) {
        // On a later turn: a window may hide to make way for another.
        state->lastWindowCheck = g_idle_add(checkLastWindow, state);
    }
}

gboolean GtkRunningApplication::State::checkLastWindow(gpointer data) {
    auto* state = static_cast<State*>(data);
    state->lastWindowCheck = 0;
    for (auto* window : toplevels())
        if (counts(window) && gtk_widget_get_visible(GTK_WIDGET(window)))
            return G_SOURCE_REMOVE;
    auto delegate = state->delegate.lock();
    bool terminate = false;
    if (delegate)
        guarded("last window closed", [&] { terminate = delegate->applicationShouldTerminateAfterLastWindowClosed(); });
    if (terminate)
        g_application_quit(G_APPLICATION(state->application));
    return G_SOURCE_REMOVE;
}

gboolean GtkRunningApplication::State::signalled(gpointer data) {
    g_application_quit(G_APPLICATION(static_cast<State*>(data)->application));
    return G_SOURCE_CONTINUE;
}

void GtkRunningApplication::State::bringWindowsForward() {
    for (auto* window : toplevels())
        if (counts(window) && gtk_widget_get_visible(GTK_WIDGET(window)))
            gtk_window_present(window);
}

void GtkRunningApplication::State::clearActions() {
    for (std::size_t i = 0; i < actions.size(); ++i) {
        auto name = "item-" + std::to_string(i);
        g_action_map_remove_action(G_ACTION_MAP(application), name.c_str());
        const char* none[] = {nullptr};
        gtk_application_set_accels_for_action(application, ("app." + name).c_str(), none);
    }
    actions.clear();
}

GtkRunningApplication::GtkRunningApplication(const std::string& identifier) : state_(std::make_unique<State>()) {
    const char* id = g_application_id_is_valid(identifier.c_str()) ? identifier.c_str() : nullptr;
    state_->application = gtk_application_new(id, G_APPLICATION_DEFAULT_FLAGS);
    g_signal_connect(state_->application, "startup", G_CALLBACK(State::startedUp), state_.get());
    g_signal_connect(state_->application, "activate", G_CALLBACK(State::activated), state_.get());
}

GtkRunningApplication::~GtkRunningApplication() {
    if (state_->lastWindowCheck)
        g_source_remove(state_->lastWindowCheck);
    g_signal_handlers_disconnect_by_data(gtk_window_get_toplevels(), state_.get());
    for (auto* window : toplevels()) {
        g_signal_handlers_disconnect_by_data(window, state_.get());
        g_object_set_data(G_OBJECT(window), trackedKey, nullptr);
    }
    g_object_unref(state_->application);
}

void GtkRunningApplication::setDelegate(std::weak_ptr<ApplicationDelegate> delegate) {
    state_->delegate = std::move(delegate);
}

void GtkRunningApplication::setActivationPolicy(ActivationPolicy policy) { state_->policy = policy; }

ActivationPolicy GtkRunningApplication::activationPolicy() const { return state_->policy; }

void GtkRunningApplication::State::addItem(GMenu* section, const MenuItem& item) {
    auto name = "item-" + std::to_string(actions.size());
    GSimpleAction* action = g_simple_action_new(name.c_str(), nullptr);
    g_object_set_data(G_OBJECT(action), "orrelith-item", GUINT_TO_POINTER(actions.size()));
    g_signal_connect(action, "activate", G_CALLBACK(itemChosen), this);
    g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(action));
    g_object_unref(action);
    actions.push_back(item.action);
    g_menu_append(section, item.title.c_str(), ("app." + name).c_str());
    if (!item.keyEquivalent.empty()) {
        auto accelerator = "<Control>" + item.keyEquivalent;
        const char* accelerators[] = {accelerator.c_str(), nullptr};
        gtk_application_set_accels_for_action(application, ("app." + name).c_str(), accelerators);
    }
}

void GtkRunningApplication::setMainMenu(std::vector<Menu> menus) {
    state_->clearActions();
    GMenu* bar = g_menu_new();
    for (const auto& menu : menus) {
        GMenu* items = g_menu_new();
        GMenu* section = g_menu_new();
        for (const auto& item : menu.items) {
            if (!item.isSeparator()) {
                state_->addItem(section, item);
                continue;
            }
            g_menu_append_section(items, nullptr, G_MENU_MODEL(section));
            g_object_unref(section);
            section = g_menu_new();
        }
        g_menu_append_section(items, nullptr, G_MENU_MODEL(section));
        g_object_unref(section);
        // The application's own menu carries the application's name where the desktop shows one.
        const char* name = g_get_application_name();
        g_menu_append_submenu(bar, menu.title.empty() && name ? name : menu.title.c_str(), G_MENU_MODEL(items));
        g_object_unref(items);
    }
    gtk_application_set_menubar(state_->application, G_MENU_MODEL(bar));
    g_object_unref(bar);
}

int GtkRunningApplication::run() {
    if (state_->policy == ActivationPolicy::accessory)
        g_application_set_flags(G_APPLICATION(state_->application), G_APPLICATION_NON_UNIQUE);
    g_signal_connect(gtk_window_get_toplevels(), "items-changed", G_CALLBACK(State::toplevelsChanged), state_.get());
    state_->trackAll();
    guint interrupt = g_unix_signal_add(SIGINT, State::signalled, state_.get());
    guint termination = g_unix_signal_add(SIGTERM, State::signalled, state_.get());
    // No arguments: the program's own (--import, --check-updates) are not options of the toolkit.
    int status = g_application_run(G_APPLICATION(state_->application), 0, nullptr);
    g_source_remove(interrupt);
    g_source_remove(termination);
    if (state_->held)
        g_application_release(G_APPLICATION(state_->application));
    state_->held = false;
    return status;
}

void GtkRunningApplication::activate() { state_->bringWindowsForward(); }

void GtkRunningApplication::performClose() {
    for (auto* window : toplevels())
        if (gtk_window_is_active(window) && gtk_widget_get_visible(GTK_WIDGET(window))) {
            gtk_window_close(window);
            return;
        }
}

bool GtkRunningApplication::hasVisibleWindow() const {
    for (auto* window : toplevels())
        if (gtk_widget_get_visible(GTK_WIDGET(window)))
            return true;
    return false;
}

void GtkRunningApplication::terminate() { g_application_quit(G_APPLICATION(state_->application)); }

} // namespace orrelith::platform
