// A plug-in module for the host's loader: loading it registers ProbeView as "HostProbeView".
#include "ProbeView.hpp"

namespace {

[[maybe_unused]] const bool registered = [] {
    orrelith::platform::ClassRegistry::registerClass("HostProbeView", ProbeView::entry({}));
    return true;
}();

} // namespace
