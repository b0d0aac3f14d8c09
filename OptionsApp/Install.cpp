#include "OptionsApp/Install.hpp"

#include "OptionsApp/DailyCheck.hpp"
#include "OrrelithCore/InstallOutcome.hpp"
#include "Platform/App/AdministratorScript.hpp"
#include "Platform/App/Alert.hpp"
#include "Platform/App/Application.hpp"
#include "Platform/App/DownloadOrigin.hpp"
#include "Platform/App/ScreenSaverHost.hpp"
#include "Platform/Platform.hpp"
#include "Platform/System/MainQueue.hpp"
#include "Platform/System/System.hpp"
#include "Platform/System/UserDefaults.hpp"
#include "Platform/System/Workspace.hpp"
#include "Saver/OptionsSheet/Brand.hpp"

#include <unistd.h>

namespace orrelith {

bool Install::declinedMove = false;

namespace {

constexpr const char* declinedCleanupKey = "declinedSystemCleanup";

std::string product() { return std::string(Brand::name); }

std::string missingBundleMessage() {
    return "The screen saver is missing from inside this copy of " + product() + " Options. Download it again from " +
           Install::siteHost + ".";
}

std::optional<std::filesystem::path> innerCopy() {
    auto bundle = platform::system().mainBundle();
    if (!bundle)
        return std::nullopt;
    return bundle->bundlePath / "Contents" / "Library" / "Screen Savers" / (product() + ".saver");
}

std::filesystem::path temporaryCopy() {
    auto name = "." + product() + ".saver." + std::to_string(platform::system().processIdentifier()) + ".new";
    return Install::installedCopy().parent_path() / name;
}

void removeQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

SaverSync afterFailure(const std::exception& error, const std::string& wanted, const std::optional<std::string>& before) {
    platform::system().log(product() + ": couldn't install the screen saver: " + error.what());
    removeQuietly(temporaryCopy());
    return InstallOutcome::afterError(error.what(), Install::version(Install::installedCopy()), wanted, before);
}

SaverSync confirmed(const std::string& wanted, const std::optional<std::string>& before) {
    auto now = Install::version(Install::installedCopy());
    if (!now || *now != wanted)
        return SaverSync::failed("The copy finished, but " + Install::installedCopy().string() + " isn't there afterwards.");
    Install::reloadScreenSaverHost();
    return before ? SaverSync::updated() : SaverSync::fresh();
}

// Copies the application's bundle into `folder`, replacing an item of the same name. The copy's path, or
// nothing after logging why it failed.
std::optional<std::filesystem::path> copyApplication(const std::filesystem::path& bundle, const std::filesystem::path& folder) {
    auto copy = folder / bundle.filename();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && std::filesystem::exists(std::filesystem::symlink_status(copy, error)))
        std::filesystem::remove_all(copy, error);
    if (!error)
        std::filesystem::copy(bundle, copy,
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks,
                              error);
    if (!error)
        return copy;
    platform::system().log(product() + ": couldn't move to " + folder.string() + ": " + error.message());
    return std::nullopt;
}

std::size_t ask(platform::AlertStyle style, std::string message, std::string informative,
                std::vector<std::string> buttons) {
    return platform::alert().runModal({style, std::move(message), std::move(informative), std::move(buttons)});
}

// One shell word that the shell reads back as exactly `text`, whatever it holds.
std::string shellQuoted(const std::string& text) {
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// The text as the body of an AppleScript string literal.
std::string scriptLiteralBody(const std::string& text) {
    std::string body;
    for (char c : text) {
        if (c == '\\' || c == '"')
            body += '\\';
        body += c;
    }
    return body;
}

} // namespace

std::filesystem::path Install::home() { return platform::system().homeFolder(); }

void Install::ensureDailyCheck() {
    auto bundle = platform::system().mainBundle();
    if (!bundle || !bundle->executablePath) {
        platform::system().log(product() + ": not running from a bundle, so no daily update check");
        return;
    }
    std::vector<std::string> oldLabels(Brand::oldAgentLabels.begin(), Brand::oldAgentLabels.end());
    DailyCheck::ensure(platform::launchAgents(), {home(), *bundle->executablePath, bundle->bundlePath, getuid()},
                       oldLabels);
}

std::filesystem::path Install::installedCopy() { return home() / "Library" / "Screen Savers" / (product() + ".saver"); }

std::optional<std::string> Install::version(const std::filesystem::path& bundle) {
    auto found = platform::system().bundleAt(bundle);
    if (!found)
        return std::nullopt;
    return found->info("CFBundleShortVersionString").value_or("") + " (" + found->info("CFBundleVersion").value_or("") +
           ")";
}

SaverSync Install::syncSaver(const SaverFiles& files) {
    auto inner = innerCopy();
    std::error_code error;
    if (!inner || !std::filesystem::exists(*inner, error))
        return SaverSync::failed(missingBundleMessage());
    auto wanted = version(*inner);
    if (!wanted)
        return SaverSync::failed(missingBundleMessage());
    auto before = version(installedCopy());
    if (before == wanted)
        return SaverSync::unchanged();
    auto temporary = temporaryCopy();
    try {
        files.createFolder(temporary.parent_path());
        removeQuietly(temporary);
        files.copy(*inner, temporary);
        platform::downloadOrigin().remove(temporary);
        files.putInPlace(temporary, installedCopy());
    } catch (const std::exception& failure) {
        return afterFailure(failure, *wanted, before);
    }
    // After an exchange the old copy is what lies at the temporary name.
    removeQuietly(temporary);
    return confirmed(*wanted, before);
}

void Install::reloadScreenSaverHost() {
    auto& host = platform::screenSaverHost();
    if (!host.runInProgress())
        host.dropLoadedCopies();
}

void Install::tell(const InstallNotice& notice) {
    if (notice.kind() == InstallNotice::Kind::installed) {
        auto advice = declinedMove ? "Updates need this app in your Applications folder: drag it there and open it once."
                                   : "This app keeps it up to date by itself; open it again any time to change the settings.";
        auto informative = "To use it, choose " + product() + " in System Settings \u203a Screen Saver. " + advice;
        if (ask(platform::AlertStyle::informational, product() + " is installed", informative,
                {"Open Screen Saver Settings", "Later"}) == 0)
            openScreenSaverSettings();
    } else if (notice.kind() == InstallNotice::Kind::failed) {
        auto informative = notice.message() + "\n\nIt belongs in " + installedCopy().string() +
                           ". Quit and open this app again to retry. If it keeps failing, there's help at " + siteHost + ".";
        ask(platform::AlertStyle::warning, product() + " couldn't install the screen saver", informative, {"OK"});
    }
}

bool Install::offerMoveToApplications() {
    auto name = product() + " Options";
    if (ask(platform::AlertStyle::informational, "Move " + name + " to Applications?",
            "It's running from the download. To install " + product() +
                " and keep it up to date, it needs to be in your Applications folder. It will reopen from there.",
            {"Move to Applications", "Not Now"}) != 0) {
        declinedMove = true;
        return false;
    }
    auto bundle = platform::system().mainBundle();
    std::optional<std::filesystem::path> copy;
    for (const auto& folder : {std::filesystem::path("/Applications"), home() / "Applications"})
        if (bundle && !copy)
            copy = copyApplication(bundle->bundlePath, folder);
    if (!copy) {
        ask(platform::AlertStyle::warning, name + " couldn't move itself",
            "Drag it from the download window to Applications, then open it from there.", {"OK"});
        return false;
    }
    platform::downloadOrigin().remove(*copy);
    platform::workspace().openApplication(*copy, {}, [](std::optional<std::string>) {
        platform::mainQueue().async([] { platform::application().terminate(); });
    });
    return true;
}

std::vector<std::string> Install::systemCopies(const std::filesystem::path& root) {
    std::vector<std::string> candidates{"Library/Screen Savers/" + product() + ".saver",
                                        "Library/LaunchAgents/org.kestrin.quorvane.update-check.plist"};
    for (auto label : Brand::oldAgentLabels)
        candidates.push_back("Library/LaunchAgents/" + std::string(label) + ".plist");
    if (Brand::name != Brand::familyName) {
        candidates.push_back("Library/Screen Savers/ORVEX.saver");
        candidates.push_back("Applications/ORVEX Options.app");
    }
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& candidate : candidates)
        if (std::filesystem::exists(root / candidate, error))
            found.push_back((root / candidate).string());
    return found;
}

std::string Install::removalScript(const std::vector<std::string>& paths) {
    std::string words;
    for (const auto& path : paths)
        words += (words.empty() ? "" : " ") + shellQuoted(path);
    return "do shell script \"rm -rf " + scriptLiteralBody(words) + "\" with administrator privileges";
}

void Install::offerToRemoveSystemCopies(const std::filesystem::path& root) {
    auto copies = systemCopies(root);
    if (copies.empty())
        return;
    auto defaults = platform::preferences().standardUserDefaults();
    if (defaults->boolForKey(declinedCleanupKey))
        return;
    if (ask(platform::AlertStyle::informational, "Remove the older copy of " + product() + "?",
            "An earlier version is installed for everyone on this Mac, so System Settings would list " + product() +
                " twice. Removing it asks for your password, once. Your settings are kept.",
            {"Remove", "Not Now"}) != 0) {
        defaults->setBool(declinedCleanupKey, true);
        return;
    }
    if (!platform::administrator().execute(removalScript(copies)))
        reloadScreenSaverHost();
}

void Install::openScreenSaverSettings() { platform::screenSaverHost().openSettings(); }

} // namespace orrelith
