#pragma once

#include "Platform/Views/View.hpp"

#include <memory>

typedef struct _GtkWidget GtkWidget;

namespace orrelith::host {

// A view whose content is a GTK widget tree of the host's own (the settings pane's rows), so that such
// widgets sit in a platform window beside saver views. The widget fills the view. Main thread only.
class WidgetView : public platform::View {
public:
    // Takes the floating reference of `content`.
    static std::shared_ptr<WidgetView> create(const platform::Rect& frame, GtkWidget* content);

private:
    WidgetView(const platform::Rect& frame, GtkWidget* content);
};

} // namespace orrelith::host
