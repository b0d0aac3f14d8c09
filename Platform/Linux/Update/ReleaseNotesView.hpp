#pragma once

#include "Platform/Web/ContentRuleList.hpp"

#include <memory>
#include <string>

#include <webkit/webkit.h>

namespace orrelith::platform {

// The release notes of an offered update, in a WebKit view cut off from the network the way the scenes
// are: the notes come from the feed and may name anything, so no load leaves the machine. The notes are
// loaded only once the engine's content rule list store has compiled a list blocking every load but the
// document itself; scripts in them do not run; a link never navigates the view and http(s) links open in
// the default browser instead. Made with create(); main thread; the compilation holds the view weakly.
class ReleaseNotesView : public std::enable_shared_from_this<ReleaseNotesView> {
public:
    static std::shared_ptr<ReleaseNotesView> create();
    ~ReleaseNotesView();
    ReleaseNotesView(const ReleaseNotesView&) = delete;
    ReleaseNotesView& operator=(const ReleaseNotesView&) = delete;

    // The view; it holds a reference of its own, so the widget outlives its window while this lives.
    GtkWidget* widget() const { return GTK_WIDGET(view_); }
    // Shows `html` once the block is in place; the view stays empty when the block cannot be had.
    void show(std::string html);

    static const std::string& blockingRules();
    static constexpr const char* ruleListIdentifier = "ReleaseNotesBlock";

private:
    ReleaseNotesView();
    void blocked(const std::shared_ptr<ContentRuleList>& list, const std::string& html);

    WebKitWebView* view_ = nullptr;
    WebKitUserContentManager* manager_ = nullptr;
    std::shared_ptr<ContentRuleList> list_;
};

} // namespace orrelith::platform
