#include "Platform/Linux/Web/GtkContentRuleListStore.hpp"

#include "Platform/Linux/System/GlibSources.hpp"

#include <memory>

namespace orrelith::platform {

namespace {

struct PendingCompilation {
    std::string identifier;
    std::function<void(std::shared_ptr<ContentRuleList>)> completion;
};

void compiled(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<PendingCompilation> pending(static_cast<PendingCompilation*>(data));
    GError* error = nullptr;
    WebKitUserContentFilter* filter =
        webkit_user_content_filter_store_save_finish(WEBKIT_USER_CONTENT_FILTER_STORE(source), result, &error);
    g_clear_error(&error);
    glib::runGuarded(
        [&] {
            std::shared_ptr<ContentRuleList> list;
            if (filter)
                list = std::make_shared<GtkContentRuleList>(pending->identifier, filter);
            filter = nullptr;
            if (pending->completion)
                pending->completion(std::move(list));
        },
        "content rule list completion");
    if (filter)
        webkit_user_content_filter_unref(filter);
}

} // namespace

GtkContentRuleList::GtkContentRuleList(std::string identifier, WebKitUserContentFilter* filter)
    : identifier_(std::move(identifier)), filter_(filter) {}

GtkContentRuleList::~GtkContentRuleList() { webkit_user_content_filter_unref(filter_); }

GtkContentRuleListStore::~GtkContentRuleListStore() {
    if (store_)
        g_object_unref(store_);
}

void GtkContentRuleListStore::compileContentRuleList(const std::string& identifier,
                                                     const std::string& encodedContentRuleList,
                                                     std::function<void(std::shared_ptr<ContentRuleList>)> completion) {
    if (!store_) {
        std::error_code error; // a folder that cannot be made fails the compilation, quietly
        std::filesystem::create_directories(folder_, error);
        store_ = webkit_user_content_filter_store_new(folder_.c_str());
    }
    GBytes* json = g_bytes_new(encodedContentRuleList.data(), encodedContentRuleList.size());
    auto* pending = new PendingCompilation{identifier, std::move(completion)};
    webkit_user_content_filter_store_save(store_, identifier.c_str(), json, nullptr, compiled, pending);
    g_bytes_unref(json);
}

} // namespace orrelith::platform
