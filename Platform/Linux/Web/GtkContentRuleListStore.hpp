#pragma once

#include "Platform/Web/ContentRuleListStore.hpp"

#include <filesystem>

#include <webkit/webkit.h>

namespace orrelith::platform {

// A compiled WebKit content filter. Immutable.
class GtkContentRuleList : public ContentRuleList {
public:
    GtkContentRuleList(std::string identifier, WebKitUserContentFilter* filter);
    ~GtkContentRuleList() override;
    GtkContentRuleList(const GtkContentRuleList&) = delete;
    GtkContentRuleList& operator=(const GtkContentRuleList&) = delete;

    const std::string& identifier() const override { return identifier_; }
    WebKitUserContentFilter* filter() const { return filter_; }

private:
    std::string identifier_;
    WebKitUserContentFilter* filter_;
};

// WebKit's content filter store in a folder of its own (it writes ContentRuleList-<identifier> there).
// Compiles on WebKit's own threads; the completion comes on the main loop. Main thread only.
class GtkContentRuleListStore : public ContentRuleListStore {
public:
    explicit GtkContentRuleListStore(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~GtkContentRuleListStore() override;
    GtkContentRuleListStore(const GtkContentRuleListStore&) = delete;
    GtkContentRuleListStore& operator=(const GtkContentRuleListStore&) = delete;

    void compileContentRuleList(const std::string& identifier, const std::string& encodedContentRuleList,
                                std::function<void(std::shared_ptr<ContentRuleList>)> completion) override;
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    // Made on the first compilation, so that a process that never compiles never touches the folder.
    WebKitUserContentFilterStore* store_ = nullptr;
};

} // namespace orrelith::platform
