#include "LoopbackServer.hpp"

#include "OnePixelPNG.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace orrelith::testing {

namespace {

// The request's head, up to the blank line; empty when the peer sent nothing in time.
std::string readHead(int connection) {
    std::string head;
    char buffer[2048];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd ready{connection, POLLIN, 0};
        if (::poll(&ready, 1, 2000) <= 0)
            break;
        ssize_t count = ::read(connection, buffer, sizeof buffer);
        if (count <= 0)
            break;
        head.append(buffer, static_cast<std::size_t>(count));
    }
    return head;
}

std::string pathOf(const std::string& head) {
    auto start = head.find(' ');
    auto end = head.find(' ', start + 1);
    if (start == std::string::npos || end == std::string::npos)
        return "";
    std::string target = head.substr(start + 1, end - start - 1);
    return target.substr(0, target.find('?'));
}

std::string responseFor(const std::string& head, const std::string& path) {
    std::string type = "text/plain", body = "reached", status = "200 OK";
    if (head.find("Upgrade: websocket") != std::string::npos || head.find("upgrade: websocket") != std::string::npos)
        status = "400 Bad Request", body = "no sockets here";
    else if (path.ends_with(".png"))
        type = "image/png", body = onePixelPNG;
    else if (path.ends_with(".js"))
        type = "text/javascript", body = "window.remoteScriptRan = true;";
    else if (path.ends_with(".css"))
        type = "text/css", body = "body { margin-top: 3px; }";
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nAccess-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

LoopbackServer::LoopbackServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::pipe(stopPipe_) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    (void)!::write(stopPipe_[1], "x", 1);
    thread_.join();
    ::close(listener_);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

void LoopbackServer::serve(const std::string& path, std::string body) {
    std::lock_guard lock(mutex_);
    served_[path] = std::move(body);
}

int LoopbackServer::count(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto found = counts_.find(path);
    return found == counts_.end() ? 0 : found->second;
}

int LoopbackServer::total() const {
    std::lock_guard lock(mutex_);
    int sum = 0;
    for (const auto& [path, count] : counts_)
        sum += count;
    return sum;
}

void LoopbackServer::serve() {
    for (;;) {
        pollfd ready[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0 || (ready[1].revents & POLLIN))
            return;
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            answer(connection);
            ::close(connection);
        }
    }
}

void LoopbackServer::answer(int connection) {
    std::string head = readHead(connection);
    if (head.empty())
        return;
    std::string path = pathOf(head);
    {
        std::lock_guard lock(mutex_);
        ++counts_[path];
    }
    std::string response;
    {
        std::lock_guard lock(mutex_);
        if (auto found = served_.find(path); found != served_.end())
            response = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                       std::to_string(found->second.size()) + "\r\nConnection: close\r\n\r\n" + found->second;
    }
    if (response.empty())
        response = responseFor(head, path);
    (void)!::write(connection, response.data(), response.size());
}

} // namespace orrelith::testing
