#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <plist/plist.h>

namespace orrelith::platform::plistfile {

struct NodeDeleter {
    void operator()(void* node) const {
        if (node)
            plist_free(node);
    }
};
// An owned libplist node.
using Node = std::unique_ptr<void, NodeDeleter>;

// The property list in a file, XML or binary, or null when the file is missing, too large or not a
// property list.
Node read(const std::filesystem::path& file);
// The dictionary in a file, or null when there is none.
Node readDictionary(const std::filesystem::path& file);
// Writes `node` as an XML property list through AtomicFile. Returns false (leaving `file` as it was and no
// temporary file behind) when the file system refuses.
bool writeAtomically(const std::filesystem::path& file, plist_t node);
// The members of a dictionary that hold strings.
std::map<std::string, std::string> stringMembers(plist_t dictionary);

} // namespace orrelith::platform::plistfile
