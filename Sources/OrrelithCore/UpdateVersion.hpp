#pragma once

#include <compare>
#include <string_view>

namespace orrelith {

// Orders release versions the way update feeds expect: runs of digits compare as numbers, runs of other
// characters as text, and separators only split. Trailing zero parts do not count ("1.0" equals "1.0.0");
// a trailing text part marks a pre-release ("2.0b1" comes before "2.0"); a number beats text at the same
// place ("2.0.1" after "2.0b1").
struct UpdateVersion {
    static std::weak_ordering compare(std::string_view left, std::string_view right);
};

} // namespace orrelith
