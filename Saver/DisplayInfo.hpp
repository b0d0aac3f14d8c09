#pragma once

#include "Platform/Views/Geometry.hpp"

#include <string>

namespace orrelith {

// One attached display as the options window lists it: its key, its name for people (numbered when
// several displays share a name) and its frame in global points when the list was made. A plain value.
struct DisplayInfo {
    std::string id;
    std::string name;
    platform::Rect frame;

    friend bool operator==(const DisplayInfo&, const DisplayInfo&) = default;
};

} // namespace orrelith
