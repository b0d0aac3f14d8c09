#pragma once

#include "Platform/Views/Button.hpp"
#include "Platform/Views/TextLabel.hpp"
#include "Platform/Views/View.hpp"
#include "Saver/LaunchState.hpp"

#include <functional>
#include <memory>

namespace orrelith {

// The small sheet the screen saver shows while the options application opens: what is happening (or that
// it failed, and where to look instead) and an "OK" button, the default action, that dismisses it.
class LaunchSheet : public platform::View {
public:
    static constexpr double width = 360;
    static constexpr double height = 128;

    static std::shared_ptr<LaunchSheet> create(std::shared_ptr<LaunchState> state, std::function<void()> dismiss);

    const std::shared_ptr<platform::TextLabel>& headline() const { return headline_; }
    const std::shared_ptr<platform::TextLabel>& detail() const { return detail_; }
    const std::shared_ptr<platform::Button>& okButton() const { return ok_; }

private:
    LaunchSheet(std::shared_ptr<LaunchState> state, std::function<void()> dismiss);
    void build();
    void showTexts();

    std::shared_ptr<LaunchState> state_;
    std::function<void()> dismiss_;
    std::shared_ptr<platform::TextLabel> headline_;
    std::shared_ptr<platform::TextLabel> detail_;
    std::shared_ptr<platform::Button> ok_;
};

} // namespace orrelith
