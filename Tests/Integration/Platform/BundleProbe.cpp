// A function with an address of its own, for finding the bundle that holds a loaded module.
extern "C" __attribute__((visibility("default"))) int orrelithBundleProbe() { return 42; }
