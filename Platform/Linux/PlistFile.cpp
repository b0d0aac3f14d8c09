#include "Platform/Linux/PlistFile.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace orrelith::platform::plistfile {

namespace {

constexpr std::uintmax_t maxFileSize = 16u << 20;

bool writeAll(int descriptor, const char* bytes, std::size_t length) {
    while (length > 0) {
        ssize_t written = ::write(descriptor, bytes, length);
        if (written < 0)
            return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

void syncFolder(const std::filesystem::path& folder) {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

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

    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::string temporary = file.string() + ".XXXXXX";
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    bool stored = writeAll(descriptor, text.data(), text.size()) &&
                  ::fsync(descriptor) == 0;
    stored = ::close(descriptor) == 0 && stored;
    if (!stored || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(file.parent_path());
    return true;
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
