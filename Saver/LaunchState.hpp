#pragma once

#include <functional>
#include <vector>

namespace orrelith {

// The one value the launch sheet shows: whether opening the options application failed. Observers are told
// synchronously when it changes. Main thread only.
class LaunchState {
public:
    bool failed() const { return failed_; }
    void setFailed(bool failed);
    void observe(std::function<void()> observer) { observers_.push_back(std::move(observer)); }

private:
    bool failed_ = false;
    std::vector<std::function<void()>> observers_;
};

} // namespace orrelith
