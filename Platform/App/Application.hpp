#pragma once

namespace orrelith::platform {

// The running application as a whole. Main thread only.
class Application {
public:
    virtual ~Application() = default;
    // Ends the application: its event loop returns after the work now running. Never synchronous with
    // the process's exit, so the caller finishes what it is doing.
    virtual void terminate() = 0;
};

} // namespace orrelith::platform
