#pragma once

#include <string>

namespace orrelith::platform {

// A compiled content rule list, made by a ContentRuleListStore. Immutable; web view configurations share it.
class ContentRuleList {
public:
    virtual ~ContentRuleList() = default;
    virtual const std::string& identifier() const = 0;
};

} // namespace orrelith::platform
