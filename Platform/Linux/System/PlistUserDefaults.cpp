#include "Platform/Linux/System/PlistUserDefaults.hpp"

#include <cstdlib>

namespace orrelith::platform {

PlistUserDefaults::PlistUserDefaults(std::filesystem::path file)
    : file_(std::move(file)), dictionary_(plistfile::readDictionary(file_)) {
    if (!dictionary_)
        dictionary_.reset(plist_new_dict());
}

plist_t PlistUserDefaults::value(std::string_view key) const {
    return plist_dict_get_item(dictionary_.get(), std::string(key).c_str());
}

std::optional<std::string> PlistUserDefaults::dataForKey(std::string_view key) const {
    plist_t node = value(key);
    if (!node || plist_get_node_type(node) != PLIST_DATA)
        return std::nullopt;
    char* bytes = nullptr;
    uint64_t length = 0;
    plist_get_data_val(node, &bytes, &length);
    std::string data = bytes ? std::string(bytes, length) : std::string();
    std::free(bytes);
    return data;
}

bool PlistUserDefaults::boolForKey(std::string_view key) const {
    plist_t node = value(key);
    if (!node)
        return false;
    if (plist_get_node_type(node) == PLIST_BOOLEAN)
        return plist_bool_val_is_true(node) != 0;
    if (plist_get_node_type(node) == PLIST_UINT)
        return plist_uint_val_compare(node, 0) != 0;
    return false;
}

void PlistUserDefaults::setData(std::string_view key, std::string bytes) {
    set(key, plist_new_data(bytes.data(), bytes.size()));
}

void PlistUserDefaults::setBool(std::string_view key, bool value) { set(key, plist_new_bool(value ? 1 : 0)); }

void PlistUserDefaults::removeObject(std::string_view key) {
    if (!value(key))
        return;
    plist_dict_remove_item(dictionary_.get(), std::string(key).c_str());
    store();
}

void PlistUserDefaults::set(std::string_view key, plist_t node) {
    plist_dict_set_item(dictionary_.get(), std::string(key).c_str(), node);
    store();
}

void PlistUserDefaults::store() { plistfile::writeAtomically(file_, dictionary_.get()); }

} // namespace orrelith::platform
