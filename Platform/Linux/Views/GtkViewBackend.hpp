#pragma once

#include "Platform/Linux/Views/GtkViewContainer.hpp"
#include "Platform/Linux/Views/GtkWidgetBackend.hpp"
#include "Platform/Views/View.hpp"

namespace orrelith::platform {

GdkRGBA toRGBA(const Color& color);

// A view backend drawn by a view container widget, optionally with a content widget filling it (a label,
// a picture, a web view). `Interface` is ViewBackend or one of its extensions; subclasses add the rest.
// Subviews must have GtkWidgetBackend backends. Main thread only.
template <typename Interface> class GtkViewBackendOf : public Interface, public GtkWidgetBackend {
public:
    explicit GtkViewBackendOf(GtkWidget* content = nullptr) : GtkWidgetBackend(viewcontainer::create()) {
        if (content)
            viewcontainer::setContent(widget(), content);
    }

    void setFrame(const Rect& frame) override { storeFrame(frame); }
    void insertSubview(ViewBackend& child, std::size_t index) override {
        if (auto* backend = dynamic_cast<GtkWidgetBackend*>(&child))
            viewcontainer::insertChild(widget(), backend->widget(), index);
    }
    void removeSubview(ViewBackend& child) override {
        if (auto* backend = dynamic_cast<GtkWidgetBackend*>(&child))
            viewcontainer::removeChild(widget(), backend->widget());
    }
    void setAlpha(double alpha) override { gtk_widget_set_opacity(widget(), alpha); }
    void setBackgroundColor(std::optional<Color> color) override {
        viewcontainer::setBackground(widget(), color ? std::optional<GdkRGBA>(toRGBA(*color)) : std::nullopt);
    }
};

using GtkViewBackend = GtkViewBackendOf<ViewBackend>;

} // namespace orrelith::platform
