#pragma once

#include "Platform/Views/View.hpp"

#include <string>

namespace orrelith::platform {

struct Font {
    enum class Design { System, Monospaced };
    enum class Weight { Regular, Medium, Bold };

    Design design = Design::System;
    Weight weight = Weight::Regular;
    double size = 13;

    static Font monospacedSystemFont(double size, Weight weight) { return {Design::Monospaced, weight, size}; }
    static Font systemFont(double size, Weight weight) { return {Design::System, weight, size}; }
    friend bool operator==(const Font&, const Font&) = default;
};

struct Shadow {
    Color color = Color::black();
    double blurRadius = 0;
    Size offset;
    friend bool operator==(const Shadow&, const Shadow&) = default;
};

class LabelBackend : public ViewBackend {
public:
    virtual void setText(const std::string& text) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setTextColor(const Color& color) = 0;
    virtual void setShadow(const std::optional<Shadow>& shadow) = 0;
    // The size the text needs in the current font, in points.
    virtual Size fittingSize() const = 0;
};

// A single line of non-editable text. Main thread only.
class TextLabel : public View {
public:
    static std::shared_ptr<TextLabel> create(std::string text);

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    const Color& textColor() const { return textColor_; }
    void setTextColor(const Color& color);
    const std::optional<Shadow>& shadow() const { return shadow_; }
    void setShadow(std::optional<Shadow> shadow);
    // Resizes the frame to fit the text, keeping its origin.
    void sizeToFit();

private:
    TextLabel(std::string text, std::unique_ptr<LabelBackend> backend);
    LabelBackend& label() const;

    std::string text_;
    Font font_;
    Color textColor_ = Color::black();
    std::optional<Shadow> shadow_;
};

} // namespace orrelith::platform
