#pragma once

#include "Platform/System/UserDefaults.hpp"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace orrelith::platform {

// One preferences domain in memory. Values are data, Booleans, or text (text stands for every other kind
// of value a domain may hold: it is neither data nor a Boolean). Main thread only.
class FakeUserDefaults : public UserDefaults {
public:
    struct Data {
        std::string bytes;
        friend bool operator==(const Data&, const Data&) = default;
    };
    using Value = std::variant<Data, bool, std::string>;
    struct Record {
        // Keys asked for, in order, by dataForKey and boolForKey.
        mutable std::vector<std::string> reads;
        // Keys written or removed, in order.
        std::vector<std::string> writes;
    };

    std::optional<std::string> dataForKey(std::string_view key) const override;
    bool boolForKey(std::string_view key) const override;
    void setData(std::string_view key, std::string bytes) override;
    void setBool(std::string_view key, bool value) override;
    void removeObject(std::string_view key) override;

    const Record& record() const { return record_; }

    std::map<std::string, Value, std::less<>> values;

private:
    Record record_;
};

} // namespace orrelith::platform
