#pragma once

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/DisplayMode.hpp"
#include "OrrelithCore/Settings.hpp"
#include "Saver/DisplayInfo.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orrelith {

// What an observer of an OptionsModel is told has changed.
enum class OptionsChange { settings, selected, choosingPool };

// The options window's editing state and every editing rule: a working copy of the settings, the catalog,
// the displays attached when the window was made, the display being edited and whether the pool editor is
// open. Nothing is written while editing; `close(true)` (installed by the window) saves.
//
// Main thread only. Observers are called synchronously, once per change, from inside the call that made
// it, after the state has changed; an observer may edit the model or remove observers (a removed observer
// is not called afterwards). A copy of the model carries no observers.
class OptionsModel {
public:
    using Observer = std::function<void(OptionsChange)>;
    using ObserverID = std::uint64_t;

    OptionsModel(Catalog catalog, Settings settings, std::vector<DisplayInfo> displays);

    const Catalog& catalog() const;
    const std::vector<DisplayInfo>& displays() const;
    const Settings& settings() const;
    void setSettings(Settings settings);
    // The key of the display being edited: at first the display at origin (0, 0), else the first, else "".
    const std::string& selected() const;
    void setSelected(std::string displayKey);
    bool choosingPool() const;
    void setChoosingPool(bool choosing);
    const DisplayInfo* selectedDisplay() const;
    DisplayMode mode() const;
    std::optional<std::string> pinned() const;
    bool isShuffle() const;
    // On: remembers the pinned scene, then shuffles. Off: pins the remembered scene, else the first one.
    void setShuffle(bool shuffle);
    // The selected display shows this scene, as the scene grid's choice does.
    void pin(const std::string& slug);
    // Adds or removes one scene; the pool never becomes empty this way.
    void togglePool(const std::string& slug);
    // Adds or removes a generation's scenes (every scene when absent); an emptied pool keeps the first
    // scene.
    void setPool(std::optional<int> generation, bool on);
    // "All 15 screens" or "12 of 15 screens".
    std::string poolSummary() const;
    // Four pooled slugs standing for a shuffling display, the same for the same key and pool.
    std::vector<std::string> mosaic(const std::string& displayKey) const;
    // The settings with the names of the attached displays recorded.
    Settings settingsToSave() const;

    std::function<void(bool save)> close = [](bool) {};
    // Empty when the window offers no update checks.
    std::function<void()> checkForUpdates;

    ObserverID addObserver(Observer observer);
    void removeObserver(ObserverID id);

private:
    // Copies start empty, so a copied model never calls back into views of the original.
    class Observers {
    public:
        Observers() = default;
        Observers(const Observers&) {}
        Observers& operator=(const Observers&) { return *this; }
        ObserverID add(Observer observer);
        void remove(ObserverID id);
        void notify(OptionsChange change) const;

    private:
        ObserverID next_ = 1;
        std::map<ObserverID, Observer> observers_;
    };

    void storePool(const std::set<std::string>& pooled);
    void setMode(DisplayMode mode);

    Catalog catalog_;
    Settings settings_;
    std::vector<DisplayInfo> displays_;
    std::string selected_;
    bool choosingPool_ = false;
    std::map<std::string, std::string> lastPinned_;
    Observers observers_;
};

} // namespace orrelith
