#include "Platform/Fake/Web/FakeContentRuleListStore.hpp"

#include <algorithm>

namespace orrelith::platform {

void FakeContentRuleListStore::compileContentRuleList(
    const std::string& identifier, const std::string& encodedContentRuleList,
    std::function<void(std::shared_ptr<ContentRuleList>)> completion) {
    compilations_.push_back({identifier, encodedContentRuleList, false});
    completions_.push_back(std::move(completion));
}

std::size_t FakeContentRuleListStore::pendingCount() const {
    return static_cast<std::size_t>(
        std::count_if(compilations_.begin(), compilations_.end(), [](const auto& c) { return !c.ended; }));
}

std::shared_ptr<FakeContentRuleList> FakeContentRuleListStore::complete(std::size_t index) {
    if (index >= compilations_.size() || compilations_[index].ended)
        return nullptr;
    compilations_[index].ended = true;
    auto list = std::make_shared<FakeContentRuleList>(compilations_[index].identifier, compilations_[index].json);
    auto completion = std::move(completions_[index]);
    if (completion)
        completion(list);
    return list;
}

void FakeContentRuleListStore::fail(std::size_t index) {
    if (index >= compilations_.size() || compilations_[index].ended)
        return;
    compilations_[index].ended = true;
    auto completion = std::move(completions_[index]);
    if (completion)
        completion(nullptr);
}

void FakeContentRuleListStore::completeAll() {
    // A completion may ask for a new compilation; that one is completed too.
    for (std::size_t index = 0; index < compilations_.size(); ++index)
        complete(index);
}

} // namespace orrelith::platform
