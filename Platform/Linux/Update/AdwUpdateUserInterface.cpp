#include "Platform/Linux/Update/AdwUpdateUserInterface.hpp"

#include "Platform/Linux/App/AdwAlert.hpp"
#include "Platform/Linux/System/GlibSources.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"

#include <adwaita.h>

#include <algorithm>
#include <utility>

namespace orrelith::platform {

namespace {

GtkWindow* makeWindow(const std::string& title, int width, int height) {
    adw_init();
    auto* window = GTK_WINDOW(adw_window_new());
    gtk_window_set_title(window, title.c_str());
    gtk_window_set_default_size(window, width, height);
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_transient_for(window, AdwAlert::parentWindow());
    // Escape closes, which answers as the window's close button does.
    GtkEventController* shortcuts = gtk_shortcut_controller_new();
    gtk_shortcut_controller_add_shortcut(GTK_SHORTCUT_CONTROLLER(shortcuts),
                                         gtk_shortcut_new(gtk_keyval_trigger_new(GDK_KEY_Escape, GdkModifierType(0)),
                                                          gtk_named_action_new("window.close")));
    gtk_widget_add_controller(GTK_WIDGET(window), shortcuts);
    return window;
}

GtkWidget* label(const std::string& text, const char* cssClass) {
    GtkWidget* widget = gtk_label_new(text.c_str());
    gtk_label_set_wrap(GTK_LABEL(widget), TRUE);
    gtk_label_set_xalign(GTK_LABEL(widget), 0);
    if (cssClass)
        gtk_widget_add_css_class(widget, cssClass);
    return widget;
}

GtkWidget* column() {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_widget_set_margin_start(box, 18);
    gtk_widget_set_margin_end(box, 18);
    gtk_widget_set_margin_top(box, 12);
    gtk_widget_set_margin_bottom(box, 18);
    gtk_widget_set_vexpand(box, TRUE);
    return box;
}

GtkWidget* spacer() {
    GtkWidget* widget = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_set_hexpand(widget, TRUE);
    return widget;
}

void present(GtkWindow* window, GtkWidget* content) {
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_append(GTK_BOX(box), adw_header_bar_new());
    gtk_box_append(GTK_BOX(box), content);
    adw_window_set_content(ADW_WINDOW(window), box);
    gtk_window_present(window);
}

std::string size(std::uint64_t bytes) {
    char* text = g_format_size(bytes);
    std::string result = text;
    g_free(text);
    return result;
}

} // namespace

// What a window's button or closing answers: an offer's answer, or none for the download's Cancel.
struct AdwUpdateUserInterface::Hook {
    std::weak_ptr<AdwUpdateUserInterface> ui;
    GtkWindow* window;
    std::optional<UpdateOfferAnswer> answer;

    void fire(Closing closing) const {
        glib::runGuarded(
            [&] {
                auto self = ui.lock();
                if (self && answer)
                    self->answer(window, *answer, closing);
                else if (self)
                    self->cancel(window, closing);
            },
            "update window");
    }
};

std::shared_ptr<AdwUpdateUserInterface> AdwUpdateUserInterface::create() {
    return std::shared_ptr<AdwUpdateUserInterface>(new AdwUpdateUserInterface());
}

AdwUpdateUserInterface::~AdwUpdateUserInterface() {
    closeOffer();
    closeDownload();
}

void AdwUpdateUserInterface::connect(gpointer instance, Signal signal, Hook hook) {
    auto release = [](gpointer data, GClosure*) { delete static_cast<Hook*>(data); };
    if (signal == Signal::clicked) {
        auto clicked = +[](GtkButton*, Hook* hook) { hook->fire(Closing::destroyHere); };
        g_signal_connect_data(instance, "clicked", G_CALLBACK(clicked), new Hook(std::move(hook)), release,
                              GConnectFlags(0));
        return;
    }
    // The toolkit destroys the window once the handler has let the close go on.
    auto closing = +[](GtkWindow*, Hook* hook) -> gboolean {
        hook->fire(Closing::byToolkit);
        return FALSE;
    };
    g_signal_connect_data(instance, "close-request", G_CALLBACK(closing), new Hook(std::move(hook)), release,
                          GConnectFlags(0));
}

GtkWidget* AdwUpdateUserInterface::button(const char* text, std::optional<UpdateOfferAnswer> answer) {
    GtkWidget* widget = gtk_button_new_with_label(text);
    connect(widget, Signal::clicked, Hook{weak_from_this(), answer ? offer_ : download_, answer});
    return widget;
}

void AdwUpdateUserInterface::showOffer(const UpdateOffer& offer, std::function<void(UpdateOfferAnswer)> answered) {
    closeOffer();
    offer_ = makeWindow(offer.title(), 600, offer.releaseNotes.empty() ? -1 : 480);
    answered_ = std::move(answered);
    GtkWidget* content = column();
    gtk_box_append(GTK_BOX(content), label(offer.message(), nullptr));
    if (!offer.releaseNotes.empty()) {
        gtk_box_append(GTK_BOX(content), label("Release Notes:", "heading"));
        notes_ = ReleaseNotesView::create();
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_child(GTK_FRAME(frame), notes_->widget());
        gtk_widget_set_vexpand(frame, TRUE);
        gtk_box_append(GTK_BOX(content), frame);
        notes_->show(offer.releaseNotes);
    }
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_box_append(GTK_BOX(buttons), button("Skip This Version", UpdateOfferAnswer::skipThisVersion));
    gtk_box_append(GTK_BOX(buttons), spacer());
    gtk_box_append(GTK_BOX(buttons), button("Remind Me Later", UpdateOfferAnswer::remindMeLater));
    GtkWidget* install = button("Install Update", UpdateOfferAnswer::installUpdate);
    gtk_widget_add_css_class(install, "suggested-action");
    gtk_box_append(GTK_BOX(buttons), install);
    gtk_box_append(GTK_BOX(content), buttons);
    gtk_window_set_default_widget(offer_, install);
    connect(offer_, Signal::closeRequest, Hook{weak_from_this(), offer_, UpdateOfferAnswer::remindMeLater});
    present(offer_, content);
    gtk_widget_grab_focus(install);
}

void AdwUpdateUserInterface::showDownload(const std::string& applicationName, std::function<void()> cancelled) {
    closeDownload();
    download_ = makeWindow("Updating " + applicationName, 420, -1);
    cancelled_ = std::move(cancelled);
    GtkWidget* content = column();
    gtk_box_append(GTK_BOX(content), label("Downloading update…", "heading"));
    bar_ = GTK_PROGRESS_BAR(gtk_progress_bar_new());
    gtk_progress_bar_set_show_text(bar_, TRUE);
    gtk_box_append(GTK_BOX(content), GTK_WIDGET(bar_));
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_box_append(GTK_BOX(buttons), spacer());
    gtk_box_append(GTK_BOX(buttons), button("Cancel", std::nullopt));
    gtk_box_append(GTK_BOX(content), buttons);
    connect(download_, Signal::closeRequest, Hook{weak_from_this(), download_, std::nullopt});
    present(download_, content);
}

void AdwUpdateUserInterface::setDownloadProgress(std::uint64_t received, std::uint64_t expected) {
    if (!bar_)
        return;
    if (expected == 0) {
        gtk_progress_bar_pulse(bar_);
        gtk_progress_bar_set_text(bar_, size(received).c_str());
        return;
    }
    gtk_progress_bar_set_fraction(bar_, std::min(1.0, double(received) / double(expected)));
    gtk_progress_bar_set_text(bar_, (size(received) + " of " + size(expected)).c_str());
}

void AdwUpdateUserInterface::closeDownload() {
    cancelled_ = nullptr;
    bar_ = nullptr;
    if (auto* window = std::exchange(download_, nullptr))
        gtk_window_destroy(window);
}

void AdwUpdateUserInterface::closeOffer() {
    answered_ = nullptr;
    if (auto* window = std::exchange(offer_, nullptr))
        gtk_window_destroy(window);
    notes_.reset();
}

void AdwUpdateUserInterface::answer(GtkWindow* window, UpdateOfferAnswer answer, Closing closing) {
    if (window != offer_)
        return;
    auto answered = std::exchange(answered_, nullptr);
    if (closing == Closing::destroyHere)
        closeOffer();
    else
        offer_ = nullptr, notes_.reset();
    mainQueue().async([answered, answer] {
        if (answered)
            answered(answer);
    });
}

void AdwUpdateUserInterface::cancel(GtkWindow* window, Closing closing) {
    if (window != download_)
        return;
    auto cancelled = std::exchange(cancelled_, nullptr);
    if (closing == Closing::destroyHere)
        closeDownload();
    else
        download_ = nullptr, bar_ = nullptr;
    mainQueue().async([cancelled] {
        if (cancelled)
            cancelled();
    });
}

} // namespace orrelith::platform
