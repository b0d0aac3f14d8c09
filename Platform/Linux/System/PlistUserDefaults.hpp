#pragma once

#include "Platform/Linux/System/PlistFile.hpp"
#include "Platform/System/UserDefaults.hpp"

#include <filesystem>

namespace orrelith::platform {

// One preferences domain kept in an XML property list file. The file is read when the object is made;
// every write changes the dictionary in memory and stores the whole file atomically before returning.
// Values of other kinds written by other programs are kept as they are. A failed store is quiet.
// Main thread only.
class PlistUserDefaults : public UserDefaults {
public:
    explicit PlistUserDefaults(std::filesystem::path file);

    std::optional<std::string> dataForKey(std::string_view key) const override;
    // True for a true Boolean or a non-zero integer, as the system's defaults read them.
    bool boolForKey(std::string_view key) const override;
    void setData(std::string_view key, std::string bytes) override;
    void setBool(std::string_view key, bool value) override;
    void removeObject(std::string_view key) override;

    const std::filesystem::path& file() const { return file_; }

private:
    plist_t value(std::string_view key) const;
    void set(std::string_view key, plist_t node);
    void store();

    std::filesystem::path file_;
    plistfile::Node dictionary_;
};

} // namespace orrelith::platform
