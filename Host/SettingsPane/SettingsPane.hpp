#pragma once

#include "Host/IdleDelaySetting.hpp"
#include "Host/InstalledSavers.hpp"
#include "Host/SettingsWindow.hpp"
#include "Platform/System/ChildProcesses.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/Views/ScreenSaverView.hpp"
#include "Platform/Views/Window.hpp"

#include <filesystem>
#include <memory>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace orrelith::host {

// The screen-saver settings pane (`quorvane-host --settings`): a window with the chosen saver's live
// preview at the top, and below it, in libadwaita rows, the installed screen savers (choosing one loads
// its bundle and previews it), "Options…" (the saver's configuration sheet, presented on the pane) and
// "Preview" (a full-screen test run, this program again as a child), the "Start after" delay
// (IdleDelaySetting), and a note on locking. The pane's window is a platform window, so the sheet, the
// user's close and screenshots go as for every other host window; the rows are GTK widgets inside it. As a
// run does, the pane closes by itself after the options' duration and writes the screenshot asked for.
//
// Main thread only. GTK's signal handlers hold the pane weakly; `closed` runs on a later turn.
class SettingsPane : public SettingsWindow, public std::enable_shared_from_this<SettingsPane> {
public:
    static constexpr double width = 560;
    static constexpr double height = 580;
    static constexpr double previewTop = 16;

    // `program` is the host's absolute path, which the autostart entry names.
    static std::shared_ptr<SettingsPane> create(const HostOptions& options, std::filesystem::path program,
                                                std::function<void()> closed,
                                                std::function<void(const std::string&)> say);
    ~SettingsPane() override;

    void show() override;
    void close() override;

    const std::shared_ptr<platform::Window>& window() const { return window_; }

private:
    SettingsPane(const HostOptions& options, std::filesystem::path program, std::function<void()> closed,
                 std::function<void(const std::string&)> say);
    void build();
    GtkWidget* saverGroup();
    GtkWidget* saverButtons();
    GtkWidget* delayGroup();
    GtkWidget* lockingGroup();
    void loadPreview(std::size_t saver);
    void choose(std::size_t saver);
    void stopPreview();
    void presentOptions();
    void startTestRun();
    void delayChosen(std::size_t choice);
    void showMessage(const std::string& text);
    void scheduleEndings();
    void takeScreenshot();

    HostOptions options_;
    std::vector<InstalledSaver> savers_;
    std::size_t chosen_ = 0;
    IdleDelaySetting delay_;
    std::function<void()> closed_;
    std::function<void(const std::string&)> say_;
    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<platform::View> root_;
    std::shared_ptr<platform::ScreenSaverView> preview_;
    std::shared_ptr<platform::RepeatingTimer> frames_;
    std::shared_ptr<platform::ChildProcess> testRun_;
    GtkWidget* message_ = nullptr;
    bool closing_ = false;
};

} // namespace orrelith::host
