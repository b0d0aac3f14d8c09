#pragma once

#include "Platform/Web/URLSchemeHandler.hpp"

#include <optional>
#include <string>

namespace orrelith::platform {

// What a handler answered to one fake request, in plain fields.
struct FakeURLSchemeTaskState {
    std::optional<HTTPURLResponse> response;
    std::string body;
    std::size_t dataCalls = 0;
    bool finished = false;
    std::optional<std::string> error;
    // Calls made after the task was finished or failed (the engine ignores them).
    std::size_t callsAfterEnd = 0;
};

// A request a test makes through a fake web view. Main thread only.
class FakeURLSchemeTask : public URLSchemeTask {
public:
    explicit FakeURLSchemeTask(URLRequest request) : request_(std::move(request)) {}

    const URLRequest& request() const override { return request_; }
    void didReceiveResponse(const HTTPURLResponse& response) override;
    void didReceiveData(std::string data) override;
    void didFinish() override;
    void didFailWithError(const std::string& message) override;

    bool ended() const { return state.finished || state.error.has_value(); }

    FakeURLSchemeTaskState state;

private:
    URLRequest request_;
};

} // namespace orrelith::platform
