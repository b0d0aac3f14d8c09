#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/Settings.hpp"

namespace orrelith {

// Decides which scene each display shows. Pinned displays get their pin; shuffling displays are dealt from
// one shared deck, a shuffled copy of the pool, so every pool scene plays once before any repeats, and (when
// asked) a display avoids scenes other running displays show.
// Threading: no locks; use one instance from one thread. Only creating shared() is thread-safe.
class SceneChooser {
public:
    // Each call answers 64 uniformly random bits; it drives every random choice of the chooser. Called
    // synchronously inside next(), any number of times (none for a pinned display); the chooser owns its copy.
    using Random = std::function<std::uint64_t()>;

    // The process-wide chooser, created on first use with the system's random source.
    static SceneChooser& shared();

    // The operating system's random source.
    static Random systemRandom();
    // Draws from systemRandom().
    SceneChooser();
    explicit SceneChooser(Random rng);

    // The scene `display` shows next, recorded in showing(). `activeDisplays` are the displays currently
    // running; entries of others are not avoided. With an empty catalog the answer is "" and nothing changes.
    std::string next(const std::string& display, const Settings& settings, const Catalog& catalog,
                     const std::set<std::string>& activeDisplays);
    // One of `slugs`, uniformly from the chooser's random source; "" for none. Records nothing.
    std::string anyOf(const std::vector<std::string>& slugs);
    // Replaces the random source, for a reproducible run.
    void setRandom(Random rng) { rng_ = std::move(rng); }
    // Forgets what `display` shows; the deck is kept.
    void release(const std::string& display);
    // The scene each display was last given.
    const std::map<std::string, std::string>& showing() const { return showing_; }

private:
    std::string deal(const std::string& display, const Settings& settings, const Catalog& catalog,
                     const std::set<std::string>& activeDisplays);
    std::set<std::string> taken(const std::string& display, const Settings& settings,
                                const std::set<std::string>& activeDisplays) const;
    std::optional<std::string> firstEligible(const std::set<std::string>& pool,
                                             const std::set<std::string>& taken,
                                             const std::optional<std::string>& current) const;
    void startPass(const std::vector<std::string>& pool, const std::optional<std::string>& anchor);
    std::string fallback(const std::vector<std::string>& pool, const std::set<std::string>& taken,
                         const std::optional<std::string>& current);
    // Uniform in [0, bound) without modulo bias.
    std::size_t below(std::size_t bound);

    std::map<std::string, std::string> showing_;
    std::vector<std::string> deck_;
    std::optional<std::string> lastDealt_;
    Random rng_;
};

} // namespace orrelith
