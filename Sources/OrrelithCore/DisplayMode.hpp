#pragma once

#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json_fwd.hpp>

#include "OrrelithCore/DecodingError.hpp"

namespace orrelith {

// What one display shows: scenes from the shuffle pool, or one pinned scene. A plain value; the default
// value is shuffle.
class DisplayMode {
public:
    enum class Kind { shuffle, fixed };

    DisplayMode() = default;
    static DisplayMode shuffle();
    static DisplayMode fixed(std::string slug);

    Kind kind() const { return kind_; }
    bool isShuffle() const { return kind_ == Kind::shuffle; }
    bool isFixed() const { return kind_ == Kind::fixed; }
    // The pinned slug; empty for shuffle.
    const std::string& slug() const { return slug_; }

    // Reads a display mode object: {"shuffle":{}} or {"fixed":{"_0":"slug"}}; members of other names are not
    // counted. Throws DecodingError ("Invalid number of keys found, expected one." when not exactly one case
    // key is present).
    static DisplayMode decode(std::string_view json);
    static DisplayMode fromJson(const nlohmann::json& value);
    // The same object shape, for the settings writer.
    nlohmann::ordered_json toJson() const;

    bool operator==(const DisplayMode&) const = default;

private:
    DisplayMode(Kind kind, std::string slug) : kind_(kind), slug_(std::move(slug)) {}

    Kind kind_ = Kind::shuffle;
    std::string slug_;
};

} // namespace orrelith
