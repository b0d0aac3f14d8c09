#include "Platform/Linux/System/PlistFile.hpp"

#include "OrrelithCore/AtomicFile.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>


namespace orrelith::platform::plistfile {

namespace {

constexpr std::uintmax_t maxFileSize = 16u << 20;

} // namespace

Node read(const std::filesystem::path& file) {
    std::error_code error;
    auto size = std::filesystem::file_size(file, error);
    if (error || size == 0 || size > maxFileSize)
        return nullptr;
    std::ifstream stream(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (!stream && !stream.eof())
        return nullptr;
    plist_t node = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &node);
    return Node(node);
}

Node readDictionary(const std::filesystem::path& file) {
    auto node = read(file);
    if (!node || plist_get_node_type(node.get()) != PLIST_DICT)
        return nullptr;
    return node;
}

bool writeAtomically(const std::filesystem::path& file, plist_t node) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    if (!xml)
        return false;
    std::string text(xml, length);
    plist_to_xml_free(xml);

    try {
        AtomicFile::write(file, text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::map<std::string, std::string> stringMembers(plist_t dictionary) {
    std::map<std::string, std::string> members;
    if (!dictionary || plist_get_node_type(dictionary) != PLIST_DICT)
        return members;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    while (iterator) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, &key, &value);
        if (!key)
            break;
        if (plist_get_node_type(value) == PLIST_STRING) {
            char* text = nullptr;
            plist_get_string_val(value, &text);
            if (text)
                members[key] = text;
            std::free(text);
        }
        std::free(key);
    }
    std::free(iterator);
    return members;
}

} // namespace orrelith::platform::plistfile
