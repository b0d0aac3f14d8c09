#pragma once

#include <stdexcept>

namespace orrelith {

// A document that does not have the shape its reader requires. The core's decoders throw it; callers that
// must stay quiet catch it and fall back.
struct DecodingError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace orrelith
