#pragma once

#include "Platform/Views/Geometry.hpp"
#include "Saver/DisplayInfo.hpp"
#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <memory>
#include <utility>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace orrelith {

// The attached displays drawn as small screens, placed as the displays are arranged and scaled to fit,
// each a DisplayTile; clicking one picks the display to edit. Main thread only.
class DisplayArrangement {
public:
    static GtkWidget* make(std::shared_ptr<OptionsModel> model);
    // Where each display's screen is drawn in an area of `width` by `height`, one rectangle per display in
    // list order, with y growing downward from the area's top. Leaves 20 points at the sides and room for
    // the names below.
    static std::vector<platform::Rect> layout(const std::vector<DisplayInfo>& displays, double width, double height);

private:
    explicit DisplayArrangement(std::shared_ptr<OptionsModel> model) : model_(std::move(model)) {}
    void allocate(int width, int height) const;

    std::shared_ptr<OptionsModel> model_;
    std::vector<GtkWidget*> tiles_;
};

} // namespace orrelith
