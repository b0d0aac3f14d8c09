#include "Platform/Linux/Views/GtkViewBackend.hpp"

namespace orrelith::platform {

GdkRGBA toRGBA(const Color& color) {
    return {static_cast<float>(color.red), static_cast<float>(color.green), static_cast<float>(color.blue),
            static_cast<float>(color.alpha)};
}

} // namespace orrelith::platform
