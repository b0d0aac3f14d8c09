#pragma once

#include "Platform/Linux/Views/GtkViewBackend.hpp"
#include "Platform/Views/TextLabel.hpp"

namespace orrelith::platform {

// A label: a GtkLabel filling a view container. Font and colour are Pango attributes (monospaced design as
// the "monospace" family, sizes in points taken as GTK's logical pixels); the shadow is cast by the
// container. Main thread only.
class GtkLabelBackend : public GtkViewBackendOf<LabelBackend> {
public:
    GtkLabelBackend();

    void setText(const std::string& text) override;
    void setFont(const Font& font) override;
    void setTextColor(const Color& color) override;
    void setShadow(const std::optional<Shadow>& shadow) override;
    Size fittingSize() const override;

    GtkLabel* label() const { return label_; }

private:
    void applyAttributes();

    GtkLabel* label_;
    Font font_;
    Color color_ = Color::black();
};

} // namespace orrelith::platform
