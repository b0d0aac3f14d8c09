#include "Saver/OptionsSheet/DisplayArrangement.hpp"

#include "Saver/OptionsSheet/DisplayTile.hpp"
#include "Saver/OptionsSheet/ViewSupport.hpp"

#include <algorithm>
#include <cmath>

namespace orrelith {

namespace {

platform::Rect unionOf(const std::vector<DisplayInfo>& displays) {
    double minX = displays.front().frame.minX(), minY = displays.front().frame.minY();
    double maxX = displays.front().frame.maxX(), maxY = displays.front().frame.maxY();
    for (const auto& display : displays) {
        minX = std::min(minX, display.frame.minX());
        minY = std::min(minY, display.frame.minY());
        maxX = std::max(maxX, display.frame.maxX());
        maxY = std::max(maxY, display.frame.maxY());
    }
    return platform::Rect::make(minX, minY, maxX - minX, maxY - minY);
}

void measureNothing(GtkWidget*, GtkOrientation, int, int* minimum, int* natural, int* minimumBaseline, int* naturalBaseline) {
    *minimum = *natural = 0;
    *minimumBaseline = *naturalBaseline = -1;
}

} // namespace

GtkWidget* DisplayArrangement::make(std::shared_ptr<OptionsModel> model) {
    GtkWidget* area = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_add_css_class(area, "orrelith-arrangement");
    auto* view = ViewSupport::adopt(area, new DisplayArrangement(model));
    for (const auto& display : model->displays()) {
        GtkWidget* tile = DisplayTile::make(model, display);
        gtk_box_append(GTK_BOX(area), tile);
        view->tiles_.push_back(tile);
    }
    gtk_widget_set_layout_manager(area, gtk_custom_layout_new(nullptr, measureNothing, [](GtkWidget* widget, int width, int height, int) {
        static_cast<DisplayArrangement*>(g_object_get_data(G_OBJECT(widget), "orrelith-view"))->allocate(width, height);
    }));
    return area;
}

std::vector<platform::Rect> DisplayArrangement::layout(const std::vector<DisplayInfo>& displays, double width, double height) {
    if (displays.empty())
        return {};
    auto bounds = unionOf(displays);
    double scale = std::min((width - 40) / bounds.width(), (height - 50) / bounds.height());
    double originX = (width - scale * bounds.width()) / 2;
    double originY = (height - 22 - scale * bounds.height()) / 2;
    std::vector<platform::Rect> screens;
    for (const auto& display : displays) {
        const auto& frame = display.frame;
        // Global frames grow upward; the drawing grows downward from the top.
        screens.push_back(platform::Rect::make(originX + scale * (frame.minX() - bounds.minX()) + 5,
                                               originY + scale * (bounds.maxY() - frame.maxY()),
                                               scale * frame.width() - 10, scale * frame.height()));
    }
    return screens;
}

void DisplayArrangement::allocate(int width, int height) const {
    auto screens = layout(model_->displays(), width, height);
    for (std::size_t index = 0; index < tiles_.size() && index < screens.size(); ++index) {
        const auto& screen = screens[index];
        GtkWidget* tile = tiles_[index];
        DisplayTile::setScreenHeight(tile, screen.height());
        int tileWidth = std::max(0, int(std::lround(screen.width() + 6)));
        int frameOnly = 0, unused = 0;
        gtk_widget_measure(tile, GTK_ORIENTATION_VERTICAL, tileWidth, &frameOnly, &unused, nullptr, nullptr);
        int minimumWidth = 0;
        gtk_widget_measure(tile, GTK_ORIENTATION_HORIZONTAL, -1, &minimumWidth, &unused, nullptr, nullptr);
        GtkAllocation place{int(std::lround(screen.minX() - 3)), int(std::lround(screen.minY() - 3)), std::max(tileWidth, minimumWidth),
                            int(std::lround(screen.height())) + frameOnly};
        gtk_widget_size_allocate(tile, &place, -1);
    }
}

} // namespace orrelith
