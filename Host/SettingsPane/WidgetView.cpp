#include "Host/SettingsPane/WidgetView.hpp"

#include "Platform/Linux/Views/GtkViewBackend.hpp"

namespace orrelith::host {

std::shared_ptr<WidgetView> WidgetView::create(const platform::Rect& frame, GtkWidget* content) {
    return std::shared_ptr<WidgetView>(new WidgetView(frame, content));
}

WidgetView::WidgetView(const platform::Rect& frame, GtkWidget* content)
    : View(frame, std::make_unique<platform::GtkViewBackend>(content)) {}

} // namespace orrelith::host
