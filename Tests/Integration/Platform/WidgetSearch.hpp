#pragma once

#include <adwaita.h>

#include <functional>
#include <string>

// Finding a window's widgets as a person looking at it would: only what is visible, by type or by the
// text it shows.
namespace orrelith::testing {

// The first visible widget at or below `root`, depth first, that `match` accepts.
inline GtkWidget* findWidget(GtkWidget* root, const std::function<bool(GtkWidget*)>& match) {
    if (!root || !gtk_widget_get_visible(root))
        return nullptr;
    if (match(root))
        return root;
    for (GtkWidget* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child))
        if (GtkWidget* found = findWidget(child, match))
            return found;
    return nullptr;
}

inline GtkWidget* findType(GtkWidget* root, GType type) {
    return findWidget(root, [type](GtkWidget* widget) { return G_TYPE_CHECK_INSTANCE_TYPE(widget, type); });
}

// What a label, a button or a preferences row says.
inline std::string textOf(GtkWidget* widget) {
    const char* text = GTK_IS_LABEL(widget)                ? gtk_label_get_label(GTK_LABEL(widget))
                       : GTK_IS_BUTTON(widget)             ? gtk_button_get_label(GTK_BUTTON(widget))
                       : ADW_IS_PREFERENCES_ROW(widget)    ? adw_preferences_row_get_title(ADW_PREFERENCES_ROW(widget))
                                                           : nullptr;
    return text ? text : "";
}

// The first widget of `type` that says `text`, or that holds a widget saying it (a label in a button).
inline GtkWidget* find(GtkWidget* root, const std::string& text, GType type = GTK_TYPE_WIDGET) {
    GtkWidget* found = findWidget(root, [&](GtkWidget* widget) {
        return textOf(widget) == text && (G_TYPE_CHECK_INSTANCE_TYPE(widget, type) || gtk_widget_get_ancestor(widget, type));
    });
    return found && !G_TYPE_CHECK_INSTANCE_TYPE(found, type) ? gtk_widget_get_ancestor(found, type) : found;
}

} // namespace orrelith::testing
