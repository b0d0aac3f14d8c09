#include "Platform/Fake/Views/FakeButtonBackend.hpp"

namespace orrelith::platform {

FakeButtonBackend& FakeButtonBackend::of(const Button& button) {
    return dynamic_cast<FakeButtonBackend&>(button.backend());
}

} // namespace orrelith::platform
