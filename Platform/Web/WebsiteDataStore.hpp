#pragma once

namespace orrelith::platform {

// Where web views keep cookies, caches and storage. Web views configured with the same store share it; a
// non-persistent store keeps everything in memory and lets it go with the last web view using it. Made by
// the WebEngine; main thread only.
class WebsiteDataStore {
public:
    virtual ~WebsiteDataStore() = default;
    virtual bool isPersistent() const = 0;
};

} // namespace orrelith::platform
