#pragma once

#include <map>
#include <string>

struct _SoupServer;

namespace orrelith::testing {

// A tiny HTTP server on 127.0.0.1 and a port the kernel picks, for as long as the object lives. It answers
// on GLib's default main context, which the tests run while they wait, so nothing here waits on its own.
// It counts every request by path (query left out) and answers each at once: a 1x1 PNG for *.png, a
// script for *.js, a style sheet for *.css, a short text otherwise, always with
// Access-Control-Allow-Origin, and a 400 to a WebSocket handshake.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int count(const std::string& path) const { return counts_.contains(path) ? counts_.at(path) : 0; }
    int total() const;
    // From now on answers `path` with `body` (any bytes), as application/octet-stream.
    void serve(const std::string& path, std::string body) { served_[path] = std::move(body); }

private:
    _SoupServer* server_;
    int port_ = 0;
    std::map<std::string, int> counts_;
    std::map<std::string, std::string> served_;
};

} // namespace orrelith::testing
