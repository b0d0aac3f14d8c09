#include "Host/SettingsPane/SettingsPane.hpp"

#include "Host/AutostartEntry.hpp"
#include "Host/HostError.hpp"
#include "Host/SaverBundleLoader.hpp"
#include "Host/SaverStage.hpp"
#include "Host/SettingsPane/WidgetView.hpp"
#include "Host/SaverChoice.hpp"
#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/ChildProcesses.hpp"
#include "Platform/System/System.hpp"
#include "Platform/Views/WindowSystem.hpp"

#include <adwaita.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace orrelith::host {

using platform::Rect;

namespace {

constexpr platform::WindowStyle titledClosable = static_cast<platform::WindowStyle>(
    static_cast<unsigned>(platform::WindowStyle::Titled) | static_cast<unsigned>(platform::WindowStyle::Closable));

constexpr const char* lockingNote =
    "The screen saver does not lock your session. To lock it when the screen saver starts, pair it with "
    "xss-lock (X11) or swayidle (Wayland) and a screen locker.";

// What a GTK signal reaches: the pane, weakly, and what to do with the signal's argument.
struct Slot {
    std::weak_ptr<SettingsPane> pane;
    std::function<void(gpointer argument)> act;

    void fire(gpointer argument) {
        platform::glib::runGuarded(
            [this, argument] {
                if (pane.lock())
                    act(argument);
            },
            "settings pane");
    }
    static void clicked(GtkButton*, gpointer slot) { static_cast<Slot*>(slot)->fire(nullptr); }
    static void notified(GObject* source, GParamSpec*, gpointer slot) { static_cast<Slot*>(slot)->fire(source); }
    static void rowSelected(GtkListBox*, GtkListBoxRow* row, gpointer slot) { static_cast<Slot*>(slot)->fire(row); }
    static void drop(gpointer slot, GClosure*) { delete static_cast<Slot*>(slot); }
};

void connect(gpointer instance, const char* signal, GCallback callback, std::weak_ptr<SettingsPane> pane,
             std::function<void(gpointer)> act) {
    g_signal_connect_data(instance, signal, callback, new Slot{std::move(pane), std::move(act)}, Slot::drop,
                          GConnectFlags(0));
}

std::string scopeTitle(const InstalledSaver& saver) {
    switch (saver.scope) {
    case InstalledSaver::Scope::User: return "Installed for you";
    case InstalledSaver::Scope::System: return "Installed for everyone on this computer";
    case InstalledSaver::Scope::Elsewhere: break;
    }
    return "Opened from " + saver.bundle.parent_path().string();
}

} // namespace

std::shared_ptr<SettingsPane> SettingsPane::create(const HostOptions& options, std::filesystem::path program,
                                                   std::function<void()> closed,
                                                   std::function<void(const std::string&)> say) {
    adw_init();
    auto pane = std::shared_ptr<SettingsPane>(
        new SettingsPane(options, std::move(program), std::move(closed), std::move(say)));
    pane->build();
    return pane;
}

SettingsPane::SettingsPane(const HostOptions& options, std::filesystem::path program, std::function<void()> closed,
                           std::function<void(const std::string&)> say)
    : options_(options),
      delay_(AutostartEntry::file(platform::system().homeFolder(), std::getenv("XDG_CONFIG_HOME")), std::move(program)),
      closed_(std::move(closed)), say_(std::move(say)) {
    auto home = platform::system().homeFolder();
    savers_ = InstalledSavers::list(InstalledSavers::userFolder(home), InstalledSavers::systemFolder);
    // The saver asked for is the one chosen; a bundle given from elsewhere joins the list.
    auto asked = SaverChoice::applied(options).bundlePath(home);
    auto found = std::find_if(savers_.begin(), savers_.end(), [&](const auto& saver) { return saver.bundle == asked; });
    if (found == savers_.end())
        found = savers_.insert(savers_.begin(),
                               InstalledSaver{asked.stem().string(), asked, InstalledSaver::Scope::Elsewhere});
    chosen_ = static_cast<std::size_t>(found - savers_.begin());
}

SettingsPane::~SettingsPane() { stopPreview(); }

void SettingsPane::build() {
    window_ = platform::Window::create(Rect::make(0, 0, width, height), titledClosable);
    window_->setTitle("Screen Saver");
    root_ = platform::View::create(Rect::make(0, 0, width, height));
    GtkWidget* page = adw_preferences_page_new();
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(saverGroup()));
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(delayGroup()));
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(lockingGroup()));
    root_->addSubview(WidgetView::create(
        Rect::make(0, 0, width, height - 2 * previewTop - SaverStage::previewHeight), page));
    window_->setContentView(root_);
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    window_->setUserEventHandler([weak](const platform::UserEvent& event) {
        auto self = weak.lock();
        if (self && event.kind == platform::UserEvent::Kind::CloseRequest)
            self->close();
    });
}

GtkWidget* SettingsPane::saverGroup() {
    GtkWidget* group = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(group), "Screen Saver");
    GtkWidget* list = gtk_list_box_new();
    gtk_widget_add_css_class(list, "boxed-list");
    for (const auto& saver : savers_) {
        GtkWidget* row = adw_action_row_new();
        adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), saver.name.c_str());
        adw_action_row_set_subtitle(ADW_ACTION_ROW(row), scopeTitle(saver).c_str());
        gtk_list_box_append(GTK_LIST_BOX(list), row);
    }
    gtk_list_box_select_row(GTK_LIST_BOX(list), gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), int(chosen_)));
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    connect(list, "row-selected", G_CALLBACK(Slot::rowSelected), weak, [weak](gpointer row) {
        if (auto self = weak.lock(); self && row)
            self->choose(static_cast<std::size_t>(gtk_list_box_row_get_index(GTK_LIST_BOX_ROW(row))));
    });
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(group), list);
    adw_preferences_group_set_header_suffix(ADW_PREFERENCES_GROUP(group), saverButtons());
    return group;
}

// "Preview" and "Options…", beside the group's title.
GtkWidget* SettingsPane::saverButtons() {
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    GtkWidget* test = gtk_button_new_with_label("Preview");
    GtkWidget* options = gtk_button_new_with_label(SaverStage::optionsTitle);
    gtk_box_append(GTK_BOX(buttons), test);
    gtk_box_append(GTK_BOX(buttons), options);
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    connect(test, "clicked", G_CALLBACK(Slot::clicked), weak, [weak](gpointer) { weak.lock()->startTestRun(); });
    connect(options, "clicked", G_CALLBACK(Slot::clicked), weak, [weak](gpointer) { weak.lock()->presentOptions(); });
    return buttons;
}

GtkWidget* SettingsPane::delayGroup() {
    GtkWidget* group = adw_preferences_group_new();
    GtkStringList* titles = gtk_string_list_new(nullptr);
    for (const auto& choice : IdleDelaySetting::choices())
        gtk_string_list_append(titles, choice.title.c_str());
    GtkWidget* row = adw_combo_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), "Start after");
    adw_combo_row_set_model(ADW_COMBO_ROW(row), G_LIST_MODEL(titles));
    g_object_unref(titles);
    adw_combo_row_set_selected(ADW_COMBO_ROW(row), guint(delay_.current()));
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    connect(row, "notify::selected", G_CALLBACK(Slot::notified), weak, [weak](gpointer source) {
        weak.lock()->delayChosen(adw_combo_row_get_selected(ADW_COMBO_ROW(source)));
    });
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(group), row);
    message_ = gtk_label_new(nullptr);
    gtk_label_set_wrap(GTK_LABEL(message_), TRUE);
    gtk_widget_add_css_class(message_, "error");
    gtk_widget_set_visible(message_, FALSE);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(group), message_);
    return group;
}

GtkWidget* SettingsPane::lockingGroup() {
    GtkWidget* group = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(group), "Locking");
    adw_preferences_group_set_description(ADW_PREFERENCES_GROUP(group), lockingNote);
    return group;
}

void SettingsPane::show() {
    window_->orderFront();
    // A saver that does not load leaves the pane useful for the rest.
    choose(chosen_);
    scheduleEndings();
}

void SettingsPane::scheduleEndings() {
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    if (options_.duration)
        platform::mainQueue().asyncAfter(*options_.duration, [weak] {
            if (auto self = weak.lock())
                self->close();
        });
    if (options_.screenshot)
        platform::mainQueue().asyncAfter(options_.screenshotDelay, [weak] {
            if (auto self = weak.lock(); self && !self->closing_)
                self->takeScreenshot();
        });
}

void SettingsPane::takeScreenshot() {
    if (auto failure = platform::windows().writeScreenshot({window_}, *options_.screenshot))
        say_("no screenshot: " + *failure);
    else
        say_("screenshot written to " + options_.screenshot->string());
}

// Loads the saver's bundle (throwing HostError when it cannot) and previews it above the rows.
void SettingsPane::loadPreview(std::size_t saver) {
    auto loaded = SaverBundleLoader::load(savers_.at(saver).bundle);
    auto frame = Rect::make((width - SaverStage::previewWidth) / 2, height - previewTop - SaverStage::previewHeight,
                            SaverStage::previewWidth, SaverStage::previewHeight);
    auto view = loaded.principal.withFrame(frame, platform::SaverMode::Preview);
    if (!view)
        throw HostError(HostError::Kind::Failure, "the screen saver's principal class made no view");
    stopPreview();
    chosen_ = saver;
    preview_ = view;
    root_->addSubview(preview_);
    preview_->startAnimation();
    double interval = preview_->animationTimeInterval();
    if (!(interval > 0))
        return;
    std::weak_ptr<platform::ScreenSaverView> weakView = preview_;
    frames_ = platform::mainQueue().scheduleRepeating(interval, [weakView] {
        if (auto view = weakView.lock(); view && view->isAnimating())
            view->animateOneFrame();
    });
}

void SettingsPane::choose(std::size_t saver) {
    if (closing_ || (saver == chosen_ && preview_))
        return;
    try {
        loadPreview(saver);
        showMessage("");
        // The daemon's runs load the chosen one; a bundle opened from elsewhere is only previewed.
        if (savers_.at(saver).scope != InstalledSaver::Scope::Elsewhere)
            SaverChoice::store(savers_.at(saver).name);
    } catch (const std::exception& error) {
        say_(error.what());
        showMessage(savers_.at(saver).name + " cannot be shown: " + error.what());
    }
}

void SettingsPane::stopPreview() {
    if (frames_)
        frames_->invalidate();
    frames_.reset();
    if (window_)
        if (auto sheet = window_->attachedSheet())
            sheet->close();
    if (!preview_)
        return;
    preview_->stopAnimation();
    preview_->removeFromSuperview();
    preview_.reset();
}

void SettingsPane::presentOptions() {
    if (preview_)
        SaverStage::presentConfigureSheet(*window_, *preview_);
}

void SettingsPane::startTestRun() {
    if (testRun_ && !testRun_->hasEnded())
        return;
    testRun_ = platform::children().startThisProgram({"--bundle", savers_.at(chosen_).bundle.string()},
                                                     [](platform::ChildEnd) {});
    if (!testRun_)
        showMessage("The screen saver cannot be started.");
}

void SettingsPane::delayChosen(std::size_t choice) {
    if (choice >= IdleDelaySetting::choices().size())
        return;
    showMessage(delay_.choose(choice).value_or(""));
}

void SettingsPane::showMessage(const std::string& text) {
    gtk_label_set_text(GTK_LABEL(message_), text.c_str());
    gtk_widget_set_visible(message_, !text.empty());
}

void SettingsPane::close() {
    if (std::exchange(closing_, true))
        return;
    stopPreview();
    window_->setUserEventHandler(nullptr);
    window_->close();
    std::weak_ptr<SettingsPane> weak = weak_from_this();
    platform::mainQueue().async([weak] {
        if (auto self = weak.lock(); self && self->closed_)
            self->closed_();
    });
}

} // namespace orrelith::host
