#pragma once

#include "Saver/SaverView.hpp"

namespace orrelith {

// The screen saver's principal class, created by a host by the plain name "ORVEXView". It only forwards its
// two initialisers; everything else is SaverView's.
class ORVEXView : public SaverView {
public:
    static constexpr const char* className = "ORVEXView";

    static std::shared_ptr<ORVEXView> create(const platform::Rect& frame, platform::SaverMode mode);
    static std::shared_ptr<ORVEXView> create(const platform::Archive& archive);
    // Makes the class known to the class registry; done when the plug-in is loaded.
    static void registerClass();

private:
    using SaverView::SaverView;
};

} // namespace orrelith
