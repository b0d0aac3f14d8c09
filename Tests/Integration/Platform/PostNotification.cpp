// Posts one distributed notification from a process of its own, then exits: `orrelith-post-notification NAME`.
#include "Platform/Linux/System/DBusDistributedCenter.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"

#include <cstdio>

#include <glib.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orrelith-post-notification NAME\n");
        return 2;
    }
    auto center = orrelith::platform::DBusDistributedCenter::create(std::make_shared<orrelith::platform::GlibMainQueue>());
    while (center->isConnecting())
        g_main_context_iteration(nullptr, TRUE);
    if (!center->isMirrored()) {
        std::fprintf(stderr, "no session bus\n");
        return 1;
    }
    center->post(argv[1]);
    return 0;
}
