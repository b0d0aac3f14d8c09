#include "Saver/Principal.hpp"

#include "Platform/System/ClassRegistry.hpp"

namespace orrelith {

std::shared_ptr<ORVEXView> ORVEXView::create(const platform::Rect& frame, platform::SaverMode mode) {
    return made(std::shared_ptr<ORVEXView>(new ORVEXView(frame, mode)));
}

std::shared_ptr<ORVEXView> ORVEXView::create(const platform::Archive& archive) {
    return std::shared_ptr<ORVEXView>(new ORVEXView(archive));
}

void ORVEXView::registerClass() {
    platform::ClassRegistry::registerClass(
        className, {[](const platform::Rect& frame, platform::SaverMode mode) { return create(frame, mode); },
                    [](const platform::Archive& archive) { return create(archive); }});
}

} // namespace orrelith
