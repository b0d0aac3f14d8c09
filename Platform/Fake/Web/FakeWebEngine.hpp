#pragma once

#include "Platform/Fake/Web/FakeContentRuleListStore.hpp"
#include "Platform/Fake/System/FakeMainQueue.hpp"
#include "Platform/Fake/Web/FakeWebViewBackend.hpp"
#include "Platform/Web/WebEngine.hpp"

#include <memory>
#include <vector>

namespace orrelith::platform {

// An in-memory data store, told apart from others by its serial number.
class FakeWebsiteDataStore : public WebsiteDataStore {
public:
    explicit FakeWebsiteDataStore(int serial) : serial(serial) {}
    bool isPersistent() const override { return false; }
    const int serial;
};

// Web views in memory. Records every configuration it made a view from; a test reaches each view's engine
// side through FakeWebViewBackend::of(view) or backends(), and the rule-list store through ruleLists.
// Main thread only.
class FakeWebEngine : public WebEngine {
public:
    struct Record {
        std::vector<WebViewConfiguration> configurations;
        std::size_t dataStoresMade = 0;
    };

    explicit FakeWebEngine(std::shared_ptr<const FakeMainQueue> clock) : clock_(std::move(clock)) {}

    std::unique_ptr<WebViewBackend> makeWebViewBackend(const WebViewConfiguration& configuration) override;
    std::shared_ptr<WebsiteDataStore> makeNonPersistentDataStore() override;
    ContentRuleListStore& defaultContentRuleListStore() override { return *ruleLists; }

    const Record& record() const { return record_; }
    // The backends of web views still alive, oldest first.
    std::vector<FakeWebViewBackend*> backends() const;

    // Whether views made from now on have the occlusion-detection switch.
    bool supportsOcclusionDetection = true;
    std::shared_ptr<FakeContentRuleListStore> ruleLists = std::make_shared<FakeContentRuleListStore>();

private:
    std::shared_ptr<const FakeMainQueue> clock_;
    Record record_;
    // Each backend with its lifetime token, so that a destroyed one is never reached.
    std::vector<std::pair<std::weak_ptr<const void>, FakeWebViewBackend*>> made_;
};

} // namespace orrelith::platform
