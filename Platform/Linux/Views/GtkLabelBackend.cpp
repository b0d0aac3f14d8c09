#include "Platform/Linux/Views/GtkLabelBackend.hpp"

#include <algorithm>

namespace orrelith::platform {

namespace {

PangoWeight pangoWeight(Font::Weight weight) {
    switch (weight) {
    case Font::Weight::Medium:
        return PANGO_WEIGHT_MEDIUM;
    case Font::Weight::Bold:
        return PANGO_WEIGHT_BOLD;
    case Font::Weight::Regular:
        break;
    }
    return PANGO_WEIGHT_NORMAL;
}

guint16 channel(double value) { return static_cast<guint16>(std::clamp(value, 0.0, 1.0) * 65535.0 + 0.5); }

} // namespace

GtkLabelBackend::GtkLabelBackend() : GtkViewBackendOf(gtk_label_new(nullptr)) {
    label_ = GTK_LABEL(gtk_widget_get_first_child(widget()));
    gtk_label_set_single_line_mode(label_, TRUE);
    gtk_label_set_xalign(label_, 0);
    gtk_widget_set_can_target(GTK_WIDGET(label_), FALSE);
    applyAttributes();
}

void GtkLabelBackend::setText(const std::string& text) { gtk_label_set_text(label_, text.c_str()); }

void GtkLabelBackend::setFont(const Font& font) {
    font_ = font;
    applyAttributes();
}

void GtkLabelBackend::setTextColor(const Color& color) {
    color_ = color;
    applyAttributes();
}

void GtkLabelBackend::applyAttributes() {
    PangoAttrList* attributes = pango_attr_list_new();
    if (font_.design == Font::Design::Monospaced)
        pango_attr_list_insert(attributes, pango_attr_family_new("monospace"));
    pango_attr_list_insert(attributes, pango_attr_weight_new(pangoWeight(font_.weight)));
    pango_attr_list_insert(attributes,
                           pango_attr_size_new_absolute(static_cast<int>(font_.size * PANGO_SCALE + 0.5)));
    pango_attr_list_insert(attributes,
                           pango_attr_foreground_new(channel(color_.red), channel(color_.green), channel(color_.blue)));
    pango_attr_list_insert(attributes, pango_attr_foreground_alpha_new(channel(color_.alpha)));
    gtk_label_set_attributes(label_, attributes);
    pango_attr_list_unref(attributes);
}

void GtkLabelBackend::setShadow(const std::optional<Shadow>& shadow) {
    if (!shadow) {
        viewcontainer::setShadow(widget(), std::nullopt);
        return;
    }
    // Offsets are y-up in the view tree and y-down on GTK's side.
    GskShadow gsk{toRGBA(shadow->color), static_cast<float>(shadow->offset.width),
                  static_cast<float>(-shadow->offset.height), static_cast<float>(shadow->blurRadius)};
    viewcontainer::setShadow(widget(), gsk);
}

Size GtkLabelBackend::fittingSize() const {
    int width = 0;
    int height = 0;
    gtk_widget_measure(GTK_WIDGET(label_), GTK_ORIENTATION_HORIZONTAL, -1, nullptr, &width, nullptr, nullptr);
    gtk_widget_measure(GTK_WIDGET(label_), GTK_ORIENTATION_VERTICAL, width, nullptr, &height, nullptr, nullptr);
    return {static_cast<double>(width), static_cast<double>(height)};
}

} // namespace orrelith::platform
