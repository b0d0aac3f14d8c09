#pragma once

#include "Saver/DisplayInfo.hpp"
#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <memory>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace orrelith {

// One display drawn as a small screen showing what it will show (its pinned scene's still, or a darkened
// mosaic of four pooled scenes under a shuffle symbol), its name below; a ring marks the selected display.
// A click selects it for editing and leaves the pool editor. The arrangement gives it its size. Main thread
// only.
class DisplayTile {
public:
    static GtkWidget* make(std::shared_ptr<OptionsModel> model, DisplayInfo display);
    // The screen's size in points, without the ring: sizes the shuffle symbol.
    static void setScreenHeight(GtkWidget* tile, double height);
    // The pinned scene's title, or "Shuffle".
    static std::string caption(const OptionsModel& model, const std::string& displayKey);

private:
    DisplayTile(std::shared_ptr<OptionsModel> model, DisplayInfo display)
        : model_(std::move(model)), display_(std::move(display)) {}
    void refresh();
    GtkWidget* mosaicScreen();

    std::shared_ptr<OptionsModel> model_;
    DisplayInfo display_;
    GtkWidget* button_ = nullptr;
    GtkWidget* ring_ = nullptr;
    GtkWidget* name_ = nullptr;
    GtkWidget* screen_ = nullptr;
    GtkWidget* symbol_ = nullptr;
    std::vector<std::string> shown_;
    int symbolSize_ = 11;
};

} // namespace orrelith
