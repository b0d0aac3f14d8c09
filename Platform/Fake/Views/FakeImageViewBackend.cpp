#include "Platform/Fake/Views/FakeImageViewBackend.hpp"

namespace orrelith::platform {

FakeImageViewBackend& FakeImageViewBackend::of(const ImageView& view) {
    return dynamic_cast<FakeImageViewBackend&>(view.backend());
}

} // namespace orrelith::platform
