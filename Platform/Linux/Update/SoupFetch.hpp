#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

typedef struct _SoupSession SoupSession;
typedef struct _SoupMessage SoupMessage;
typedef struct _GCancellable GCancellable;
typedef struct _GInputStream GInputStream;

namespace orrelith::platform {

// Fetches one address into memory with libsoup 3, on the main context. Only https is allowed, and plain
// http to a loopback address (tests, local mirrors); a redirect elsewhere ends the fetch. Made with
// create(); the callbacks run on the main thread, never synchronously from fetch(), and `done` runs once
// unless the fetch is cancelled or the object goes first. Pending work holds the object weakly.
class SoupFetch : public std::enable_shared_from_this<SoupFetch> {
public:
    struct Result {
        std::string bytes;
        // Empty on success; otherwise a message for the user.
        std::string error;
    };
    using Progress = std::function<void(std::uint64_t received, std::uint64_t expected)>;
    using Done = std::function<void(Result)>;

    static std::shared_ptr<SoupFetch> create();
    ~SoupFetch();
    // `limit` bounds what is accepted; `expected` is passed to `progress` (0 when unknown).
    void fetch(const std::string& url, std::uint64_t limit, std::uint64_t expected, Progress progress, Done done);
    void cancel();
    // https anywhere, http only to 127.0.0.0/8 or ::1.
    static bool allowed(const std::string& url);

    // The fetcher, if it lives and `generation` is still its current fetch.
    static std::shared_ptr<SoupFetch> current(const std::weak_ptr<SoupFetch>& weak, unsigned generation);

private:
    SoupFetch();
    void received(SoupMessage* message, GInputStream* stream, const std::string& error);
    void readMore();
    void finish(Result result);

    SoupSession* session_ = nullptr;
    SoupMessage* message_ = nullptr;
    GCancellable* cancellable_ = nullptr;
    GInputStream* stream_ = nullptr;
    std::string bytes_;
    unsigned generation_ = 0;
    std::uint64_t limit_ = 0, expected_ = 0;
    Progress progress_;
    Done done_;
};

} // namespace orrelith::platform
