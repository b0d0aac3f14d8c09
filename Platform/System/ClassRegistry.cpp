#include "Platform/System/ClassRegistry.hpp"

#include <map>

namespace orrelith::platform {

namespace {
std::map<std::string, ClassRegistry::Entry>& classes() {
    static std::map<std::string, ClassRegistry::Entry> registered;
    return registered;
}
} // namespace

void ClassRegistry::registerClass(const std::string& name, Entry entry) { classes()[name] = std::move(entry); }

std::optional<ClassRegistry::Entry> ClassRegistry::lookup(const std::string& name) {
    auto found = classes().find(name);
    if (found == classes().end())
        return std::nullopt;
    return found->second;
}

void ClassRegistry::unregisterClass(const std::string& name) { classes().erase(name); }

} // namespace orrelith::platform
