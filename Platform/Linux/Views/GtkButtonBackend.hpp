#pragma once

#include "Platform/Views/Button.hpp"
#include "Platform/Linux/Views/GtkViewBackend.hpp"

namespace orrelith::platform {

// A push button: a GtkButton filling a view container. The Return key equivalent is a shortcut handled by
// the whole window. The action runs from GTK's signal, never inside a backend call. Main thread only.
class GtkButtonBackend : public GtkViewBackendOf<ButtonBackend> {
public:
    GtkButtonBackend();
    ~GtkButtonBackend() override;
    GtkButtonBackend(const GtkButtonBackend&) = delete;
    GtkButtonBackend& operator=(const GtkButtonBackend&) = delete;

    void setTitle(const std::string& title) override;
    void setKeyEquivalent(KeyEquivalent key) override;
    void setAction(std::function<void()> action) override { action_ = std::move(action); }
    Size fittingSize() const override;

    GtkButton* button() const { return button_; }

private:
    static void clicked(GtkButton* button, gpointer self);

    GtkButton* button_;
    GtkEventController* shortcuts_ = nullptr;
    std::function<void()> action_;
};

} // namespace orrelith::platform
