#pragma once

#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <adwaita.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace orrelith {

// Small helpers the options editor's views share. Main thread only.
struct ViewSupport {
    // Ties `object` to `widget`: it is deleted when the widget is finalized, after the widget's children
    // are gone, so handlers connected to the widget or its children with `object` as data never outlive it.
    template <typename T> static T* adopt(GtkWidget* widget, T* object) {
        g_object_set_data_full(G_OBJECT(widget), "orrelith-view", object,
                               [](gpointer data) { delete static_cast<T*>(data); });
        return object;
    }
    // Calls `changed` for every change of the model until the widget is destroyed.
    static void observe(const std::shared_ptr<OptionsModel>& model, GtkWidget* widget,
                        std::function<void(OptionsChange)> changed);
    // The editor's style sheet, added to the default display once.
    static void installStyle();
    static GtkWidget* label(const std::string& text, std::initializer_list<const char*> classes);
    // Adds or removes a CSS class.
    static void setClass(GtkWidget* widget, const char* name, bool on);
    // Runs `action` on a signal whose handler takes only the instance (clicked, activated, value-changed),
    // or on a property's change ("notify::name"). The action is freed with the connection.
    static void on(gpointer instance, const char* signal, std::function<void()> action);
    static void onNotify(gpointer instance, const char* property, std::function<void()> action);
    // Sets the accessible label of a widget.
    static void setAccessibleLabel(GtkWidget* widget, const std::string& text);
};

} // namespace orrelith
