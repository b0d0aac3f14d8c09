#include "Platform/Fake/System/FakeUserDefaults.hpp"

namespace orrelith::platform {

std::optional<std::string> FakeUserDefaults::dataForKey(std::string_view key) const {
    record_.reads.emplace_back(key);
    auto found = values.find(key);
    if (found == values.end())
        return std::nullopt;
    if (const auto* data = std::get_if<Data>(&found->second))
        return data->bytes;
    return std::nullopt;
}

bool FakeUserDefaults::boolForKey(std::string_view key) const {
    record_.reads.emplace_back(key);
    auto found = values.find(key);
    if (found == values.end())
        return false;
    const auto* value = std::get_if<bool>(&found->second);
    return value && *value;
}

void FakeUserDefaults::setData(std::string_view key, std::string bytes) {
    record_.writes.emplace_back(key);
    values.insert_or_assign(std::string(key), Data{std::move(bytes)});
}

void FakeUserDefaults::setBool(std::string_view key, bool value) {
    record_.writes.emplace_back(key);
    values.insert_or_assign(std::string(key), value);
}

void FakeUserDefaults::removeObject(std::string_view key) {
    record_.writes.emplace_back(key);
    auto found = values.find(key);
    if (found != values.end())
        values.erase(found);
}

} // namespace orrelith::platform
