#include "Platform/Fake/Web/FakeURLSchemeTask.hpp"

namespace orrelith::platform {

void FakeURLSchemeTask::didReceiveResponse(const HTTPURLResponse& response) {
    if (ended()) {
        ++state.callsAfterEnd;
        return;
    }
    state.response = response;
}

void FakeURLSchemeTask::didReceiveData(std::string data) {
    if (ended()) {
        ++state.callsAfterEnd;
        return;
    }
    ++state.dataCalls;
    state.body += data;
}

void FakeURLSchemeTask::didFinish() {
    if (ended()) {
        ++state.callsAfterEnd;
        return;
    }
    state.finished = true;
}

void FakeURLSchemeTask::didFailWithError(const std::string& message) {
    if (ended()) {
        ++state.callsAfterEnd;
        return;
    }
    state.error = message;
}

} // namespace orrelith::platform
