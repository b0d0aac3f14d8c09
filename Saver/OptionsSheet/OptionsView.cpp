#include "Saver/OptionsSheet/OptionsView.hpp"

#include "Platform/Platform.hpp"
#include "Platform/System/System.hpp"
#include "Saver/OptionsSheet/Brand.hpp"
#include "Saver/OptionsSheet/DisplayArrangement.hpp"
#include "Saver/OptionsSheet/SceneGrid.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

#include <algorithm>

namespace orrelith {

namespace {

constexpr int gridColumns = 4;
constexpr const char* notice =
    "An independent, unofficial project, not affiliated with any rights holder. Every scene is an original design.";

OptionsView* viewOf(GtkWidget* root) { return static_cast<OptionsView*>(g_object_get_data(G_OBJECT(root), "orrelith-view")); }

void codeAnchor() {}

// A dimmed caption under a group, as its footer.
void addFooter(GtkWidget* group, const char* text) {
    GtkWidget* footer = ViewSupport::label(text, {"dim-label", "caption"});
    gtk_label_set_xalign(GTK_LABEL(footer), 0);
    gtk_label_set_wrap(GTK_LABEL(footer), TRUE);
    gtk_widget_set_margin_start(footer, 6);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(group), footer);
}

GtkWidget* iconButton(const char* icon, const char* text) {
    GtkWidget* content = adw_button_content_new();
    adw_button_content_set_icon_name(ADW_BUTTON_CONTENT(content), icon);
    adw_button_content_set_label(ADW_BUTTON_CONTENT(content), text);
    GtkWidget* button = gtk_toggle_button_new();
    gtk_button_set_child(GTK_BUTTON(button), content);
    return button;
}

GtkWidget* summaryLabel() {
    GtkWidget* summary = ViewSupport::label("", {"dim-label"});
    gtk_widget_set_valign(summary, GTK_ALIGN_CENTER);
    return summary;
}

std::string sceneTitle(const OptionsModel& model) {
    auto pinned = model.pinned();
    const Scene* scene = pinned ? model.catalog().scene(*pinned) : nullptr;
    return scene ? scene->title + " \u2014 " + scene->subtitle : std::string();
}

guint intervalIndex(double seconds) {
    const auto& choices = OptionsView::intervals();
    if (seconds <= 0)
        return guint(choices.size() - 1);
    auto offered = Settings::offered(seconds);
    auto found = std::find_if(choices.begin(), choices.end(), [&](const auto& choice) { return choice.seconds == offered; });
    return guint(found - choices.begin());
}

} // namespace

const std::vector<OptionsView::Interval>& OptionsView::intervals() {
    static const std::vector<Interval> choices{{"Every 30 seconds", 30}, {"Every minute", 60},
                                               {"Every 2 minutes", 120}, {"Every 5 minutes", 300},
                                               {"Every 10 minutes", 600}, {"When the screen saver starts", 0}};
    return choices;
}

std::string OptionsView::version() {
    auto bundle = platform::system().bundleContaining(reinterpret_cast<const void*>(&codeAnchor));
    auto value = [&](const char* key) { return bundle ? bundle->info(key).value_or("?") : std::string("?"); };
    return value("CFBundleShortVersionString") + " (" + value("CFBundleVersion") + ")";
}

GtkWidget* OptionsView::make(std::shared_ptr<OptionsModel> model) {
    ViewSupport::installStyle();
    GtkWidget* root = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_size_request(root, 660, 700);
    auto* view = ViewSupport::adopt(root, new OptionsView(model));
    view->root_ = root;
    view->wasShuffle_ = model->isShuffle();
    gtk_box_append(GTK_BOX(root), view->header());
    GtkWidget* arrangement = DisplayArrangement::make(model);
    gtk_widget_set_size_request(arrangement, -1, 156);
    gtk_widget_set_margin_start(arrangement, 20);
    gtk_widget_set_margin_end(arrangement, 20);
    gtk_widget_set_margin_bottom(arrangement, 4);
    gtk_box_append(GTK_BOX(root), arrangement);
    gtk_box_append(GTK_BOX(root), view->form());
    gtk_box_append(GTK_BOX(root), view->footer());
    ViewSupport::observe(model, root, [view](OptionsChange change) { view->refresh(change); });
    view->showSettings();
    ViewSupport::on(root, "map", [view] { view->scheduleReveal(); });
    view->installPoolActions();
    return root;
}

// The pool menu's actions: "pool.select-all", and "pool.add" and "pool.remove" with a collection's number.
void OptionsView::installPoolActions() {
    GSimpleActionGroup* actions = g_simple_action_group_new();
    const std::pair<const char*, const GVariantType*> names[] = {
        {"select-all", nullptr}, {"add", G_VARIANT_TYPE_INT32}, {"remove", G_VARIANT_TYPE_INT32}};
    for (auto [name, parameter] : names) {
        GSimpleAction* action = g_simple_action_new(name, parameter);
        g_signal_connect(action, "activate", G_CALLBACK(+[](GSimpleAction* action, GVariant* value, gpointer data) {
                             auto* view = static_cast<OptionsView*>(data);
                             std::string name = g_action_get_name(G_ACTION(action));
                             if (name == "select-all")
                                 view->model_->setPool(std::nullopt, true);
                             else
                                 view->model_->setPool(g_variant_get_int32(value), name == "add");
                         }),
                         this);
        g_action_map_add_action(G_ACTION_MAP(actions), G_ACTION(action));
        g_object_unref(action);
    }
    gtk_widget_insert_action_group(root_, "pool", G_ACTION_GROUP(actions));
    g_object_unref(actions);
}

GtkWidget* OptionsView::header() const {
    GtkWidget* header = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_widget_set_margin_start(header, 20);
    gtk_widget_set_margin_end(header, 20);
    gtk_widget_set_margin_top(header, 22);
    gtk_widget_set_margin_bottom(header, 14);
    GtkWidget* logo = gtk_image_new_from_icon_name("video-joined-displays-symbolic");
    gtk_image_set_pixel_size(GTK_IMAGE(logo), 19);
    gtk_widget_add_css_class(logo, "orrelith-logo");
    gtk_widget_set_valign(logo, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(header), logo);
    GtkWidget* text = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
    gtk_widget_set_valign(text, GTK_ALIGN_CENTER);
    GtkWidget* name = ViewSupport::label(std::string(Brand::name), {"title-3"});
    auto count = std::to_string(model_->catalog().scenes.size()) + " animated consoles from the 24th century";
    GtkWidget* subtitle = ViewSupport::label(count, {"dim-label"});
    for (GtkWidget* line : {name, subtitle}) {
        gtk_label_set_xalign(GTK_LABEL(line), 0);
        gtk_box_append(GTK_BOX(text), line);
    }
    gtk_box_append(GTK_BOX(header), text);
    return header;
}

GtkWidget* OptionsView::form() {
    GtkWidget* page = adw_preferences_page_new();
    gtk_widget_set_vexpand(page, TRUE);
    // A braced list is evaluated in order, so poolGroup() has made the pool's grid group before it is read.
    for (GtkWidget* group : {displayGroup(), shuffleGroup(), sceneGroup(), poolGroup(), poolGridGroup_, soundGroup(),
                             generalGroup()})
        adw_preferences_page_add(ADW_PREFERENCES_PAGE(page), ADW_PREFERENCES_GROUP(group));
    return page;
}

GtkWidget* OptionsView::displayGroup() {
    displayGroup_ = adw_preferences_group_new();
    GtkWidget* row = adw_action_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), "Show");
    shuffleToggle_ = iconButton("media-playlist-shuffle-symbolic", "Shuffle");
    singleToggle_ = iconButton("image-x-generic-symbolic", "Single Screen");
    gtk_toggle_button_set_group(GTK_TOGGLE_BUTTON(singleToggle_), GTK_TOGGLE_BUTTON(shuffleToggle_));
    GtkWidget* picker = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_add_css_class(picker, "linked");
    gtk_widget_set_valign(picker, GTK_ALIGN_CENTER);
    for (auto [toggle, shuffle] : {std::pair{shuffleToggle_, true}, std::pair{singleToggle_, false}}) {
        gtk_box_append(GTK_BOX(picker), toggle);
        ViewSupport::on(toggle, "toggled", [this, toggle = toggle, shuffle = shuffle] {
            if (!updating_ && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)))
                model_->setShuffle(shuffle);
        });
    }
    adw_action_row_add_suffix(ADW_ACTION_ROW(row), picker);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(displayGroup_), row);
    return displayGroup_;
}

GtkWidget* OptionsView::shuffleGroup() {
    shuffleGroup_ = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(shuffleGroup_), "Shuffle");
    GtkStringList* labels = gtk_string_list_new(nullptr);
    for (const auto& choice : intervals())
        gtk_string_list_append(labels, choice.label);
    intervalRow_ = adw_combo_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(intervalRow_), "Change screen");
    adw_combo_row_set_model(ADW_COMBO_ROW(intervalRow_), G_LIST_MODEL(labels));
    g_object_unref(labels);
    ViewSupport::onNotify(intervalRow_, "selected", [this] {
        auto index = adw_combo_row_get_selected(ADW_COMBO_ROW(intervalRow_));
        if (!updating_ && index < intervals().size())
            edit([&](Settings& settings) { settings.shuffleInterval = intervals()[index].seconds; });
    });
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(shuffleGroup_), intervalRow_);

    GtkWidget* poolRow = adw_action_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(poolRow), "Screens");
    gtk_list_box_row_set_activatable(GTK_LIST_BOX_ROW(poolRow), TRUE);
    summaries_.push_back(summaryLabel());
    adw_action_row_add_suffix(ADW_ACTION_ROW(poolRow), summaries_.back());
    adw_action_row_add_suffix(ADW_ACTION_ROW(poolRow), gtk_image_new_from_icon_name("go-next-symbolic"));
    ViewSupport::on(poolRow, "activated", [this] { model_->setChoosingPool(true); });
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(shuffleGroup_), poolRow);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(shuffleGroup_),
                              switchRow("Different screen on each display", &Settings::distinctAcrossDisplays));
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(shuffleGroup_),
                              switchRow("Crossfade between screens", &Settings::crossfade));
    addFooter(shuffleGroup_, "Shared by every display set to Shuffle.");
    return shuffleGroup_;
}

GtkWidget* OptionsView::sceneGroup() {
    sceneGroup_ = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(sceneGroup_), "Screen");
    sceneTitle_ = ViewSupport::label("", {"dim-label", "caption"});
    gtk_label_set_ellipsize(GTK_LABEL(sceneTitle_), PANGO_ELLIPSIZE_END);
    gtk_widget_set_valign(sceneTitle_, GTK_ALIGN_END);
    adw_preferences_group_set_header_suffix(ADW_PREFERENCES_GROUP(sceneGroup_), sceneTitle_);
    sceneGrid_ = SceneGrid::make(model_, SceneGrid::Picking::one, gridColumns);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(sceneGroup_), sceneGrid_);
    return sceneGroup_;
}

// The pool editor: its header row and footer in one group, its grid in a group of its own after it.
GtkWidget* OptionsView::poolGroup() {
    poolGroup_ = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(poolGroup_), "Screens in Shuffle");
    GtkWidget* row = adw_preferences_row_new();
    gtk_list_box_row_set_activatable(GTK_LIST_BOX_ROW(row), FALSE);
    GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_widget_set_margin_start(line, 6);
    gtk_widget_set_margin_end(line, 6);
    gtk_widget_set_margin_top(line, 6);
    gtk_widget_set_margin_bottom(line, 6);
    GtkWidget* back = gtk_button_new();
    GtkWidget* backContent = adw_button_content_new();
    adw_button_content_set_icon_name(ADW_BUTTON_CONTENT(backContent), "go-previous-symbolic");
    adw_button_content_set_label(ADW_BUTTON_CONTENT(backContent), "Shuffle");
    gtk_button_set_child(GTK_BUTTON(back), backContent);
    gtk_widget_add_css_class(back, "flat");
    ViewSupport::on(back, "clicked", [this] { model_->setChoosingPool(false); });
    gtk_box_append(GTK_BOX(line), back);
    summaries_.push_back(summaryLabel());
    gtk_widget_set_hexpand(summaries_.back(), TRUE);
    gtk_widget_set_halign(summaries_.back(), GTK_ALIGN_END);
    gtk_box_append(GTK_BOX(line), summaries_.back());
    gtk_box_append(GTK_BOX(line), poolMenu());
    gtk_list_box_row_set_child(GTK_LIST_BOX_ROW(row), line);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(poolGroup_), row);
    addFooter(poolGroup_, "Every chosen screen plays once before any repeats.");
    poolGridGroup_ = adw_preferences_group_new();
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(poolGridGroup_),
                              SceneGrid::make(model_, SceneGrid::Picking::pool, gridColumns));
    return poolGroup_;
}

// "Select All", then "Add" for each collection, then "Remove" for each, as the menu's three sections.
GtkWidget* OptionsView::poolMenu() const {
    GMenu* menu = g_menu_new();
    GMenu* all = g_menu_new();
    g_menu_append(all, "Select All", "pool.select-all");
    g_menu_append_section(menu, nullptr, G_MENU_MODEL(all));
    for (const char* verb : {"Add", "Remove"}) {
        GMenu* section = g_menu_new();
        for (const auto& collection : Brand::collections) {
            auto label = std::string(verb) + " " + std::string(collection.heading);
            auto action = std::string(verb) == "Add" ? "pool.add" : "pool.remove";
            GMenuItem* item = g_menu_item_new(label.c_str(), nullptr);
            g_menu_item_set_action_and_target_value(item, action, g_variant_new_int32(int(collection.generation)));
            g_menu_append_item(section, item);
            g_object_unref(item);
        }
        g_menu_append_section(menu, nullptr, G_MENU_MODEL(section));
        g_object_unref(section);
    }
    g_object_unref(all);
    GtkWidget* button = gtk_menu_button_new();
    gtk_menu_button_set_icon_name(GTK_MENU_BUTTON(button), "view-more-symbolic");
    gtk_menu_button_set_menu_model(GTK_MENU_BUTTON(button), G_MENU_MODEL(menu));
    gtk_widget_add_css_class(button, "flat");
    gtk_widget_set_tooltip_text(button, "Choose collections");
    g_object_unref(menu);
    return button;
}

GtkWidget* OptionsView::soundGroup() {
    soundGroup_ = adw_preferences_group_new();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(soundGroup_), "Sound");
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(soundGroup_), switchRow("Engine sound", &Settings::sound));
    volume_ = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, 0.05, 1.0, 0.05);
    gtk_scale_set_draw_value(GTK_SCALE(volume_), FALSE);
    gtk_widget_set_hexpand(volume_, TRUE);
    ViewSupport::setAccessibleLabel(volume_, "Volume");
    ViewSupport::on(volume_, "value-changed", [this] {
        if (!updating_)
            edit([&](Settings& settings) { settings.soundVolume = gtk_range_get_value(GTK_RANGE(volume_)); });
    });
    GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_widget_set_margin_start(line, 12);
    gtk_widget_set_margin_end(line, 12);
    gtk_widget_set_margin_top(line, 8);
    gtk_widget_set_margin_bottom(line, 8);
    for (GtkWidget* part : {gtk_image_new_from_icon_name("audio-volume-low-symbolic"), volume_,
                            gtk_image_new_from_icon_name("audio-volume-high-symbolic")}) {
        if (part != volume_)
            gtk_widget_add_css_class(part, "dim-label");
        gtk_box_append(GTK_BOX(line), part);
    }
    volumeRow_ = adw_preferences_row_new();
    gtk_list_box_row_set_activatable(GTK_LIST_BOX_ROW(volumeRow_), FALSE);
    gtk_list_box_row_set_child(GTK_LIST_BOX_ROW(volumeRow_), line);
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(soundGroup_), volumeRow_);
    addFooter(soundGroup_, "Off when the displays sleep.");
    return soundGroup_;
}

GtkWidget* OptionsView::generalGroup() {
    generalGroup_ = adw_preferences_group_new();
    adw_preferences_group_add(ADW_PREFERENCES_GROUP(generalGroup_),
                              switchRow("Show the screen's name when it starts", &Settings::showSceneName));
    addFooter(generalGroup_, notice);
    return generalGroup_;
}

GtkWidget* OptionsView::footer() {
    GtkWidget* footer = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(footer), gtk_separator_new(GTK_ORIENTATION_HORIZONTAL));
    GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_widget_add_css_class(line, "orrelith-footer");
    gtk_widget_set_margin_start(line, 20);
    gtk_widget_set_margin_end(line, 20);
    gtk_widget_set_margin_top(line, 14);
    gtk_widget_set_margin_bottom(line, 14);
    GtkWidget* version = ViewSupport::label("Version " + OptionsView::version(), {"dim-label", "caption"});
    gtk_widget_set_hexpand(version, FALSE);
    gtk_box_append(GTK_BOX(line), version);
    if (model_->checkForUpdates) {
        GtkWidget* check = gtk_button_new_with_label("Check for Updates\u2026");
        ViewSupport::on(check, "clicked", [this] {
            if (model_->checkForUpdates)
                model_->checkForUpdates();
        });
        gtk_box_append(GTK_BOX(line), check);
        autoUpdate_ = gtk_check_button_new_with_label("Update automatically");
        gtk_widget_set_tooltip_text(autoUpdate_, "Install new versions quietly as they come out. Off, you'll be asked first.");
        ViewSupport::on(autoUpdate_, "toggled", [this] {
            bool on = gtk_check_button_get_active(GTK_CHECK_BUTTON(autoUpdate_));
            if (!updating_)
                edit([&](Settings& settings) { settings.autoInstallUpdates = on; });
        });
        gtk_box_append(GTK_BOX(line), autoUpdate_);
    }
    GtkWidget* spacer = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_set_hexpand(spacer, TRUE);
    gtk_box_append(GTK_BOX(line), spacer);
    GtkWidget* cancel = gtk_button_new_with_label("Cancel");
    ViewSupport::on(cancel, "clicked", [this] { model_->close(false); });
    GtkWidget* done = gtk_button_new_with_label("Done");
    gtk_widget_add_css_class(done, "suggested-action");
    ViewSupport::on(done, "clicked", [this] { model_->close(true); });
    ViewSupport::on(done, "realize", [done] {
        if (auto* window = GTK_WINDOW(gtk_widget_get_root(done)))
            gtk_window_set_default_widget(window, done);
    });
    gtk_box_append(GTK_BOX(line), cancel);
    gtk_box_append(GTK_BOX(line), done);
    gtk_box_append(GTK_BOX(footer), line);
    return footer;
}

GtkWidget* OptionsView::switchRow(const char* title, bool Settings::*field) {
    GtkWidget* row = adw_action_row_new();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), title);
    GtkWidget* toggle = gtk_switch_new();
    gtk_widget_set_valign(toggle, GTK_ALIGN_CENTER);
    adw_action_row_add_suffix(ADW_ACTION_ROW(row), toggle);
    adw_action_row_set_activatable_widget(ADW_ACTION_ROW(row), toggle);
    ViewSupport::onNotify(toggle, "active", [this, toggle, field] {
        bool on = gtk_switch_get_active(GTK_SWITCH(toggle));
        if (!updating_)
            edit([&](Settings& settings) { settings.*field = on; });
    });
    switches_.emplace_back(toggle, field);
    return row;
}

void OptionsView::edit(const std::function<void(Settings&)>& change) {
    auto settings = model_->settings();
    change(settings);
    model_->setSettings(std::move(settings));
}

void OptionsView::refresh(OptionsChange change) {
    showSettings();
    bool isShuffle = model_->isShuffle();
    if (change == OptionsChange::selected || isShuffle != wasShuffle_)
        scheduleReveal();
    wasShuffle_ = isShuffle;
}

// Puts every control in the state the model holds; the controls' own handlers ignore these changes.
void OptionsView::showSettings() {
    updating_ = true;
    const auto& settings = model_->settings();
    const DisplayInfo* display = model_->selectedDisplay();
    adw_preferences_group_set_title(ADW_PREFERENCES_GROUP(displayGroup_), display ? display->name.c_str() : "Display");
    bool isShuffle = model_->isShuffle();
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(isShuffle ? shuffleToggle_ : singleToggle_), TRUE);
    adw_combo_row_set_selected(ADW_COMBO_ROW(intervalRow_), intervalIndex(settings.shuffleInterval));
    for (GtkWidget* summary : summaries_)
        gtk_label_set_text(GTK_LABEL(summary), model_->poolSummary().c_str());
    for (const auto& [toggle, field] : switches_)
        gtk_switch_set_active(GTK_SWITCH(toggle), settings.*field);
    gtk_label_set_text(GTK_LABEL(sceneTitle_), sceneTitle(*model_).c_str());
    gtk_range_set_value(GTK_RANGE(volume_), settings.soundVolume);
    gtk_widget_set_sensitive(volumeRow_, settings.sound);
    if (autoUpdate_)
        gtk_check_button_set_active(GTK_CHECK_BUTTON(autoUpdate_), settings.autoInstallUpdates);
    bool pool = model_->choosingPool();
    for (GtkWidget* group : {displayGroup_, soundGroup_, generalGroup_})
        gtk_widget_set_visible(group, !pool);
    gtk_widget_set_visible(shuffleGroup_, !pool && isShuffle);
    gtk_widget_set_visible(sceneGroup_, !pool && !isShuffle);
    gtk_widget_set_visible(poolGroup_, pool);
    gtk_widget_set_visible(poolGridGroup_, pool);
    updating_ = false;
}

// On a later turn, once the form has been laid out, brings the pinned scene's tile to the middle of the
// visible part of the form.
void OptionsView::scheduleReveal() {
    revealAttempts_ = 0;
    auto* ref = g_new0(GWeakRef, 1);
    g_weak_ref_init(ref, root_);
    g_idle_add_full(
        G_PRIORITY_DEFAULT_IDLE,
        [](gpointer data) -> gboolean {
            auto* root = static_cast<GtkWidget*>(g_weak_ref_get(static_cast<GWeakRef*>(data)));
            if (!root)
                return G_SOURCE_REMOVE;
            auto* view = viewOf(root);
            bool again = view && !view->reveal();
            g_object_unref(root);
            return again ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
        },
        ref,
        [](gpointer data) {
            g_weak_ref_clear(static_cast<GWeakRef*>(data));
            g_free(data);
        });
}

// True when done, or when there is nothing to do; false to try again after the next layout.
bool OptionsView::reveal() {
    auto pinned = model_->pinned();
    GtkWidget* tile = pinned && !model_->choosingPool() ? SceneGrid::tile(sceneGrid_, *pinned) : nullptr;
    if (!tile)
        return true;
    GtkWidget* scroller = gtk_widget_get_ancestor(tile, GTK_TYPE_SCROLLED_WINDOW);
    graphene_rect_t bounds;
    if (!scroller || !gtk_widget_get_mapped(tile) || gtk_widget_get_height(tile) == 0 ||
        !gtk_widget_compute_bounds(tile, scroller, &bounds))
        return ++revealAttempts_ > 50;
    // Bounds are within the visible part; the adjustment counts from the top of the whole form.
    GtkAdjustment* adjustment = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller));
    double middle = gtk_adjustment_get_value(adjustment) + bounds.origin.y + bounds.size.height / 2;
    if (gtk_adjustment_get_upper(adjustment) < middle)
        return ++revealAttempts_ > 50;
    gtk_adjustment_set_value(adjustment, middle - gtk_adjustment_get_page_size(adjustment) / 2);
    return true;
}

} // namespace orrelith
