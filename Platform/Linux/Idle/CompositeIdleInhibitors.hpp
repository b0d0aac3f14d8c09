#pragma once

#include "Platform/Idle/IdleInhibitors.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// Several sources of inhibition seen as one: inhibited while any part is, `changed` when that answer
// changes (so, like the parts' own, never inside a call made to this object), and `setActive` told to
// every part. Owns its parts. Main thread only; made by `create`, since the parts' reports may come
// after its owner let it go.
class CompositeIdleInhibitors : public IdleInhibitors,
                                public std::enable_shared_from_this<CompositeIdleInhibitors> {
public:
    static std::shared_ptr<CompositeIdleInhibitors>
    create(std::vector<std::shared_ptr<IdleInhibitors>> parts);

    void start(std::function<void()> changed) override;
    bool isInhibited() const override;
    void setActive(bool active) override;

private:
    explicit CompositeIdleInhibitors(std::vector<std::shared_ptr<IdleInhibitors>> parts);
    void partChanged();

    std::vector<std::shared_ptr<IdleInhibitors>> parts_;
    std::function<void()> changed_;
    bool reported_ = false;
};

} // namespace orrelith::platform
