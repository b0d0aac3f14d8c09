#pragma once

#include "Platform/Web/ContentRuleListStore.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

// A "compiled" list: the JSON it was made from, kept as given.
class FakeContentRuleList : public ContentRuleList {
public:
    FakeContentRuleList(std::string identifier, std::string json)
        : identifier_(std::move(identifier)), json_(std::move(json)) {}
    const std::string& identifier() const override { return identifier_; }
    const std::string& json() const { return json_; }

private:
    std::string identifier_;
    std::string json_;
};

// Compilations wait until a test completes or fails them; the completion then runs inside that test call,
// which stands for the later turn on which the engine reports. Main thread only.
class FakeContentRuleListStore : public ContentRuleListStore {
public:
    struct Compilation {
        std::string identifier;
        std::string json;
        bool ended = false;
    };

    void compileContentRuleList(const std::string& identifier, const std::string& encodedContentRuleList,
                                std::function<void(std::shared_ptr<ContentRuleList>)> completion) override;

    // Every compilation asked for, in order.
    const std::vector<Compilation>& compilations() const { return compilations_; }
    std::size_t pendingCount() const;
    // Ends compilation `index` with a compiled list (returned) or with a failure. An ended one is left alone.
    std::shared_ptr<FakeContentRuleList> complete(std::size_t index);
    void fail(std::size_t index);
    // Completes every pending compilation, oldest first.
    void completeAll();

private:
    std::vector<Compilation> compilations_;
    std::vector<std::function<void(std::shared_ptr<ContentRuleList>)>> completions_;
};

} // namespace orrelith::platform
