#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <algorithm>
#include <utility>

namespace orrelith {

namespace {

std::string initialSelection(const std::vector<DisplayInfo>& displays) {
    auto main = std::find_if(displays.begin(), displays.end(), [](const DisplayInfo& display) {
        return display.frame.origin.x == 0 && display.frame.origin.y == 0;
    });
    if (main != displays.end())
        return main->id;
    return displays.empty() ? std::string() : displays.front().id;
}

std::set<std::string> asSet(const std::vector<std::string>& slugs) { return {slugs.begin(), slugs.end()}; }

// The Unicode scalar starting at `at` and the number of bytes it takes. A byte that does not start a
// well-formed UTF-8 sequence counts as a scalar of its own.
std::pair<std::uint32_t, std::size_t> scalarAt(const std::string& text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (length == 1 || at + length > text.size())
        return {lead, 1};
    std::uint32_t scalar = lead & (0x7FU >> length);
    for (std::size_t i = 1; i < length; ++i) {
        auto next = static_cast<unsigned char>(text[at + i]);
        if ((next >> 6) != 0x2)
            return {lead, 1};
        scalar = (scalar << 6) | (next & 0x3FU);
    }
    return {scalar, length};
}

std::uint32_t keyHash(const std::string& key) {
    std::uint32_t hash = 0;
    for (std::size_t at = 0; at < key.size();) {
        auto [scalar, length] = scalarAt(key, at);
        hash = (hash * 31 + scalar) % 65536;
        at += length;
    }
    return hash;
}

} // namespace

OptionsModel::OptionsModel(Catalog catalog, Settings settings, std::vector<DisplayInfo> displays)
    : catalog_(std::move(catalog)), settings_(std::move(settings)), displays_(std::move(displays)),
      selected_(initialSelection(displays_)) {}

const Catalog& OptionsModel::catalog() const { return catalog_; }
const std::vector<DisplayInfo>& OptionsModel::displays() const { return displays_; }
const Settings& OptionsModel::settings() const { return settings_; }

void OptionsModel::setSettings(Settings settings) {
    if (settings == settings_)
        return;
    settings_ = std::move(settings);
    observers_.notify(OptionsChange::settings);
}

const std::string& OptionsModel::selected() const { return selected_; }

void OptionsModel::setSelected(std::string displayKey) {
    if (displayKey == selected_)
        return;
    selected_ = std::move(displayKey);
    observers_.notify(OptionsChange::selected);
}

bool OptionsModel::choosingPool() const { return choosingPool_; }

void OptionsModel::setChoosingPool(bool choosing) {
    if (choosing == choosingPool_)
        return;
    choosingPool_ = choosing;
    observers_.notify(OptionsChange::choosingPool);
}

const DisplayInfo* OptionsModel::selectedDisplay() const {
    auto found = std::find_if(displays_.begin(), displays_.end(),
                              [&](const DisplayInfo& display) { return display.id == selected_; });
    return found == displays_.end() ? nullptr : &*found;
}

DisplayMode OptionsModel::mode() const { return settings_.mode(selected_, catalog_); }

std::optional<std::string> OptionsModel::pinned() const {
    auto current = mode();
    if (!current.isFixed())
        return std::nullopt;
    return current.slug();
}

bool OptionsModel::isShuffle() const { return mode().isShuffle(); }

void OptionsModel::setShuffle(bool shuffle) {
    if (shuffle) {
        if (auto slug = pinned())
            lastPinned_[selected_] = *slug;
        setMode(DisplayMode::shuffle());
        return;
    }
    auto remembered = lastPinned_.find(selected_);
    if (remembered != lastPinned_.end())
        setMode(DisplayMode::fixed(remembered->second));
    else
        setMode(DisplayMode::fixed(catalog_.scenes.empty() ? std::string() : catalog_.scenes.front().slug));
}

void OptionsModel::pin(const std::string& slug) { setMode(DisplayMode::fixed(slug)); }

void OptionsModel::setMode(DisplayMode mode) {
    auto changed = settings_;
    changed.displays[selected_] = std::move(mode);
    setSettings(std::move(changed));
}

void OptionsModel::togglePool(const std::string& slug) {
    auto pooled = asSet(settings_.pool(catalog_));
    if (pooled.count(slug)) {
        if (pooled.size() < 2)
            return;
        pooled.erase(slug);
    } else {
        pooled.insert(slug);
    }
    storePool(pooled);
}

void OptionsModel::setPool(std::optional<int> generation, bool on) {
    auto pooled = asSet(settings_.pool(catalog_));
    for (const auto& scene : catalog_.scenes) {
        if (generation && scene.generation != *generation)
            continue;
        if (on)
            pooled.insert(scene.slug);
        else
            pooled.erase(scene.slug);
    }
    if (pooled.empty() && !catalog_.scenes.empty())
        pooled.insert(catalog_.scenes.front().slug);
    storePool(pooled);
}

void OptionsModel::storePool(const std::set<std::string>& pooled) {
    auto changed = settings_;
    if (pooled.size() == catalog_.scenes.size()) {
        changed.shufflePool.reset();
    } else {
        std::vector<std::string> ordered;
        for (const auto& slug : catalog_.slugs())
            if (pooled.count(slug))
                ordered.push_back(slug);
        changed.shufflePool = std::move(ordered);
    }
    setSettings(std::move(changed));
}

std::string OptionsModel::poolSummary() const {
    auto pooled = settings_.pool(catalog_).size();
    auto total = catalog_.scenes.size();
    if (pooled == total)
        return "All " + std::to_string(total) + " screens";
    return std::to_string(pooled) + " of " + std::to_string(total) + " screens";
}

std::vector<std::string> OptionsModel::mosaic(const std::string& displayKey) const {
    auto pool = settings_.pool(catalog_);
    if (pool.empty())
        return {};
    auto hash = keyHash(displayKey);
    std::vector<std::string> cells;
    for (std::uint32_t step : {0U, 7U, 14U, 21U})
        cells.push_back(pool[(hash + step) % pool.size()]);
    return cells;
}

Settings OptionsModel::settingsToSave() const {
    auto saved = settings_;
    for (const auto& display : displays_)
        saved.displayNames[display.id] = display.name;
    return saved;
}

OptionsModel::ObserverID OptionsModel::addObserver(Observer observer) { return observers_.add(std::move(observer)); }

void OptionsModel::removeObserver(ObserverID id) { observers_.remove(id); }

OptionsModel::ObserverID OptionsModel::Observers::add(Observer observer) {
    auto id = next_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void OptionsModel::Observers::remove(ObserverID id) { observers_.erase(id); }

void OptionsModel::Observers::notify(OptionsChange change) const {
    std::vector<ObserverID> ids;
    for (const auto& entry : observers_)
        ids.push_back(entry.first);
    for (auto id : ids) {
        auto found = observers_.find(id);
        if (found == observers_.end())
            continue;
        // A copy, so that an observer removing itself does not destroy the function while it runs.
        auto observer = found->second;
        observer(change);
    }
}

} // namespace orrelith
