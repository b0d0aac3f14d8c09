#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace orrelith::testing {

// A tiny HTTP server on 127.0.0.1 and a port of its own (the kernel picks a free one), on a thread of its
// own, for as long as the object lives. It counts every request by path (query left out) and answers
// each at once: a 1x1 PNG for *.png, a script for *.js, a style sheet for *.css, a short text otherwise,
// always with Access-Control-Allow-Origin, and a 400 to a WebSocket handshake. A connection that sends
// nothing for two seconds is dropped, so nothing here can wait without bound.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int count(const std::string& path) const;
    // From now on answers `path` with `body` (any bytes), as application/octet-stream.
    void serve(const std::string& path, std::string body);
    int total() const;

private:
    void serve();
    void answer(int connection);

    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, int> counts_;
    std::map<std::string, std::string> served_;
    std::thread thread_;
};

} // namespace orrelith::testing
