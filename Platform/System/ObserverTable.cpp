#include "Platform/System/ObserverTable.hpp"

#include <algorithm>

namespace orrelith::platform {

void ObserverTable::add(const void* observer, const std::string& name, std::function<void()> handler) {
    entries_.push_back({next_++, observer, name, std::move(handler)});
}

void ObserverTable::remove(const void* observer) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.observer == observer; });
}

std::vector<ObserverTable::Registration> ObserverTable::registrationsFor(const std::string& name) const {
    std::vector<Registration> found;
    for (const auto& entry : entries_)
        if (entry.name == name)
            found.push_back(entry.id);
    return found;
}

bool ObserverTable::deliver(Registration registration) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return entry.id == registration; });
    if (found == entries_.end() || !found->handler)
        return false;
    // A copy: the handler may remove its own registration while it runs.
    auto handler = found->handler;
    handler();
    return true;
}

void ObserverTable::deliverNow(const std::string& name) {
    for (auto registration : registrationsFor(name))
        deliver(registration);
}

std::size_t ObserverTable::count(const std::string& name) const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.name == name; }));
}

bool ObserverTable::isRegistered(Registration registration) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.id == registration; });
}

} // namespace orrelith::platform
