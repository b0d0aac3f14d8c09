#include "Saver/LaunchState.hpp"

namespace orrelith {

void LaunchState::setFailed(bool failed) {
    if (failed_ == failed)
        return;
    failed_ = failed;
    auto observers = observers_;
    for (auto& observer : observers)
        observer();
}

} // namespace orrelith
