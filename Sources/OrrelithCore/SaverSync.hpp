#pragma once

#include <string>
#include <utility>

namespace orrelith {

// The result of making the installed screen saver match the one the application carries. A plain value.
class SaverSync {
public:
    enum class Kind { failed, fresh, updated, unchanged };

    // The installed copy is not the wanted one after this attempt; `message` is for the user.
    static SaverSync failed(std::string message) { return SaverSync(Kind::failed, std::move(message)); }
    // There was no readable installed copy; the carried one is now installed.
    static SaverSync fresh() { return SaverSync(Kind::fresh, {}); }
    // An installed copy of another version was replaced.
    static SaverSync updated() { return SaverSync(Kind::updated, {}); }
    // The installed copy already had the wanted version; nothing was touched.
    static SaverSync unchanged() { return SaverSync(Kind::unchanged, {}); }

    Kind kind() const { return kind_; }
    // The failure's message; empty for the other cases.
    const std::string& message() const { return message_; }

    bool operator==(const SaverSync&) const = default;

private:
    SaverSync(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

    Kind kind_;
    std::string message_;
};

} // namespace orrelith
