#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orrelith::platform {

// The observers of one notification center, by name, for the centers' implementations. Each registration
// gets an id so that a delivery decided earlier (a later-turn delivery) can still tell whether its
// observer was removed meanwhile. Main thread only; handlers may add and remove observers while called.
class ObserverTable {
public:
    using Registration = std::uint64_t;

    void add(const void* observer, const std::string& name, std::function<void()> handler);
    void remove(const void* observer);
    // The registrations for `name` now, in the order they were added.
    std::vector<Registration> registrationsFor(const std::string& name) const;
    // Calls the registration's handler, unless it has been removed. Returns whether it was called.
    bool deliver(Registration registration);
    // Delivers `name` to every registration it has now.
    void deliverNow(const std::string& name);
    std::size_t count(const std::string& name) const;
    bool isRegistered(Registration registration) const;

private:
    struct Entry {
        Registration id;
        const void* observer;
        std::string name;
        std::function<void()> handler;
    };
    std::vector<Entry> entries_;
    Registration next_ = 1;
};

} // namespace orrelith::platform
