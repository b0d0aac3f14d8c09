#pragma once

#include "Platform/Web/ContentRuleList.hpp"

#include <functional>
#include <memory>
#include <string>

namespace orrelith::platform {

// Compiles content rule lists (JSON arrays of trigger and action rules) and keeps them under identifiers.
// Main thread only.
class ContentRuleListStore {
public:
    virtual ~ContentRuleListStore() = default;
    // Compiles `encodedContentRuleList` under `identifier`, replacing what the store kept under it. The
    // completion runs exactly once on the main thread, on a later turn (never inside this call), with the
    // compiled list, or with null when the JSON is not a valid rule list or the store cannot be written.
    virtual void compileContentRuleList(const std::string& identifier, const std::string& encodedContentRuleList,
                                        std::function<void(std::shared_ptr<ContentRuleList>)> completion) = 0;
};

} // namespace orrelith::platform
