#include "OrrelithCore/SceneChooser.hpp"

#include <algorithm>
#include <memory>
#include <random>
#include <utility>

namespace orrelith {
namespace {

// A slug listed twice by the catalog must not get two places in a pass.
std::vector<std::string> withoutRepeats(std::vector<std::string> slugs) {
    std::set<std::string> seen;
    std::erase_if(slugs, [&](const std::string& slug) { return !seen.insert(slug).second; });
    return slugs;
}

} // namespace

SceneChooser::Random SceneChooser::systemRandom() {
    auto device = std::make_shared<std::random_device>();
    return [device] { return (std::uint64_t{(*device)()} << 32) | std::uint64_t{(*device)()}; };
}

SceneChooser& SceneChooser::shared() {
    static SceneChooser instance;
    return instance;
}

SceneChooser::SceneChooser() : SceneChooser(systemRandom()) {}

SceneChooser::SceneChooser(Random rng) : rng_(std::move(rng)) {}

std::string SceneChooser::anyOf(const std::vector<std::string>& slugs) {
    return slugs.empty() ? std::string() : slugs[below(slugs.size())];
}

std::string SceneChooser::next(const std::string& display, const Settings& settings, const Catalog& catalog,
                               const std::set<std::string>& activeDisplays) {
    if (catalog.scenes.empty()) {
        return {};
    }
    const DisplayMode mode = settings.mode(display, catalog);
    std::string pick = mode.isFixed() ? mode.slug() : deal(display, settings, catalog, activeDisplays);
    showing_[display] = pick;
    return pick;
}

void SceneChooser::release(const std::string& display) {
    showing_.erase(display);
}

std::string SceneChooser::deal(const std::string& display, const Settings& settings, const Catalog& catalog,
                               const std::set<std::string>& activeDisplays) {
    const auto pool = withoutRepeats(settings.pool(catalog));
    const std::set<std::string> inPool(pool.begin(), pool.end());
    const auto shown = showing_.find(display);
    const auto current = shown == showing_.end() ? std::nullopt : std::optional(shown->second);
    const auto busy = taken(display, settings, activeDisplays);

    auto pick = firstEligible(inPool, busy, current);
    if (!pick) {
        startPass(pool, current ? current : lastDealt_);
        pick = firstEligible(inPool, busy, current);
    }
    if (!pick) {
        return fallback(pool, busy, current);
    }
    std::erase(deck_, *pick);
    lastDealt_ = *pick;
    return *pick;
}

std::set<std::string> SceneChooser::taken(const std::string& display, const Settings& settings,
                                          const std::set<std::string>& activeDisplays) const {
    std::set<std::string> result;
    if (!settings.distinctAcrossDisplays) {
        return result;
    }
    for (const auto& [other, slug] : showing_) {
        if (other != display && activeDisplays.contains(other)) {
            result.insert(slug);
        }
    }
    return result;
}

std::optional<std::string> SceneChooser::firstEligible(const std::set<std::string>& pool,
                                                       const std::set<std::string>& taken,
                                                       const std::optional<std::string>& current) const {
    for (const auto& slug : deck_) {
        if (pool.contains(slug) && !taken.contains(slug) && slug != current) {
            return slug;
        }
    }
    return std::nullopt;
}

// A fresh Fisher–Yates pass. Its first card is moved away from `anchor` so that a display never sees the
// same scene twice in a row across the pass boundary.
void SceneChooser::startPass(const std::vector<std::string>& pool, const std::optional<std::string>& anchor) {
    deck_ = pool;
    for (std::size_t i = deck_.size(); i > 1; --i) {
        std::swap(deck_[i - 1], deck_[below(i)]);
    }
    if (deck_.size() >= 2 && anchor && deck_.front() == *anchor) {
        std::swap(deck_.front(), deck_[1 + below(deck_.size() - 1)]);
    }
}

// Only reached when every other pool scene is taken by a running display.
std::string SceneChooser::fallback(const std::vector<std::string>& pool, const std::set<std::string>& taken,
                                   const std::optional<std::string>& current) {
    if (current && std::ranges::find(pool, *current) != pool.end() && !taken.contains(*current)) {
        return *current;
    }
    std::vector<std::string> others;
    std::ranges::copy_if(pool, std::back_inserter(others),
                         [&](const std::string& slug) { return slug != current; });
    if (!others.empty()) {
        return others[below(others.size())];
    }
    return pool.front();
}

std::size_t SceneChooser::below(std::size_t bound) {
    // Draws under 2^64 mod bound would favour the low results; they are drawn again.
    const std::uint64_t range = bound;
    const std::uint64_t threshold = (0 - range) % range;
    for (;;) {
        const std::uint64_t draw = rng_();
        if (draw >= threshold) {
            return static_cast<std::size_t>(draw % range);
        }
    }
}

} // namespace orrelith
