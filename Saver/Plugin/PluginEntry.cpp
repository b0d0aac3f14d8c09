// Compiled into the plug-in module only: loading the module makes its principal class known by name.
#include "Saver/Principal.hpp"

namespace {

[[maybe_unused]] const bool registered = [] {
    orrelith::ORVEXView::registerClass();
    return true;
}();

} // namespace
