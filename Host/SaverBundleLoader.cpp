#include "Host/SaverBundleLoader.hpp"

#include "Host/HostError.hpp"
#include "Platform/Platform.hpp"

#include <dlfcn.h>

namespace orrelith::host {

namespace {

HostError failure(const std::string& message) { return HostError(HostError::Kind::Failure, message); }

platform::Bundle readBundle(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw failure("no screen saver at " + folder.string());
    auto bundle = platform::system().bundleAt(folder);
    if (!bundle)
        throw failure(folder.string() + " is not a screen saver bundle: it has no readable Contents/Info.plist");
    return *bundle;
}

void loadModule(const platform::Bundle& bundle) {
    auto plist = (bundle.bundlePath / "Contents" / "Info.plist").string();
    if (!bundle.executablePath)
        throw failure(plist + " names no executable (CFBundleExecutable)");
    // Never closed: the class registry keeps functions of the module.
    if (!dlopen(bundle.executablePath->c_str(), RTLD_NOW | RTLD_LOCAL)) {
        const char* reason = dlerror();
        throw failure("cannot load " + bundle.executablePath->string() + ": " + (reason ? reason : "unknown error"));
    }
}

} // namespace

std::string LoadedSaver::displayName() const {
    if (auto name = bundle.info("CFBundleName"); name && !name->empty())
        return *name;
    return bundle.bundlePath.stem().string();
}

LoadedSaver SaverBundleLoader::load(const std::filesystem::path& bundleFolder) {
    // The module is loaded by its absolute path: the plug-in finds its own bundle from the file name the
    // loader keeps for it, which must not depend on the folder the host was started in.
    std::error_code error;
    auto folder = std::filesystem::absolute(bundleFolder, error).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    auto bundle = readBundle(error ? bundleFolder : folder);
    auto principalClass = bundle.info("NSPrincipalClass");
    if (!principalClass || principalClass->empty())
        throw failure((bundle.bundlePath / "Contents" / "Info.plist").string() +
                      " names no principal class (NSPrincipalClass)");
    loadModule(bundle);
    auto principal = platform::ClassRegistry::lookup(*principalClass);
    if (!principal || !principal->withFrame)
        throw failure(bundle.executablePath->string() + " does not provide the principal class " + *principalClass);
    return LoadedSaver{std::move(bundle), *principalClass, std::move(*principal)};
}

} // namespace orrelith::host
