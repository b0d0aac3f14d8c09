#pragma once

#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <memory>
#include <string>
#include <utility>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace orrelith {

// The options window's content, 660 by 700 points: a header with the product's name, the display
// arrangement, the scrolling form of sections (or the pool editor in its place) and a footer with the
// version, the update controls and Cancel and Done. Everything shown is read from the model and every
// change goes through it. Main thread only.
class OptionsView {
public:
    struct Interval {
        const char* label;
        double seconds;
    };

    static GtkWidget* make(std::shared_ptr<OptionsModel> model);
    // "1.0.0 (1)": the short version and the build of the bundle holding this code, "?" for what is missing.
    static std::string version();
    // The choices of "Change screen", in order; the last one changes scenes only when the screen saver
    // starts.
    static const std::vector<Interval>& intervals();

private:
    explicit OptionsView(std::shared_ptr<OptionsModel> model) : model_(std::move(model)) {}
    GtkWidget* header() const;
    GtkWidget* form();
    GtkWidget* displayGroup();
    GtkWidget* shuffleGroup();
    GtkWidget* sceneGroup();
    GtkWidget* poolGroup();
    GtkWidget* poolMenu() const;
    void installPoolActions();
    GtkWidget* soundGroup();
    GtkWidget* generalGroup();
    GtkWidget* footer();
    GtkWidget* switchRow(const char* title, bool Settings::*field);
    void edit(const std::function<void(Settings&)>& change);
    void refresh(OptionsChange change);
    void showSettings();
    void scheduleReveal();
    bool reveal();

    std::shared_ptr<OptionsModel> model_;
    GtkWidget* root_ = nullptr;
    bool updating_ = false;
    bool wasShuffle_ = true;
    int revealAttempts_ = 0;
    std::vector<std::pair<GtkWidget*, bool Settings::*>> switches_;
    std::vector<GtkWidget*> summaries_;
    GtkWidget* displayGroup_ = nullptr;
    GtkWidget* shuffleToggle_ = nullptr;
    GtkWidget* singleToggle_ = nullptr;
    GtkWidget* shuffleGroup_ = nullptr;
    GtkWidget* intervalRow_ = nullptr;
    GtkWidget* sceneGroup_ = nullptr;
    GtkWidget* sceneTitle_ = nullptr;
    GtkWidget* sceneGrid_ = nullptr;
    GtkWidget* poolGroup_ = nullptr;
    GtkWidget* poolGridGroup_ = nullptr;
    GtkWidget* soundGroup_ = nullptr;
    GtkWidget* volume_ = nullptr;
    GtkWidget* volumeRow_ = nullptr;
    GtkWidget* generalGroup_ = nullptr;
    GtkWidget* autoUpdate_ = nullptr;
};

} // namespace orrelith
