#include "Host/HostOptions.hpp"

#include "Host/HostError.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace orrelith::host {

namespace {

HostError usageError(const std::string& message) { return HostError(HostError::Kind::Usage, message); }

double seconds(const std::string& option, const std::string& text) {
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value) || value < 0)
        throw usageError(option + " wants a number of seconds, not \"" + text + "\"");
    return value;
}

void setMode(HostOptions& options, HostMode mode, const std::string& option) {
    if (options.mode != HostMode::FullScreen && options.mode != mode)
        throw usageError(option + " cannot be combined with another mode");
    options.mode = mode;
}

using ValueSetter = std::function<void(HostOptions&, const std::string& option, const std::string& value)>;

const std::map<std::string, ValueSetter>& valueOptions() {
    static const std::map<std::string, ValueSetter> table{
        {"--bundle", [](HostOptions& o, const std::string&, const std::string& v) { o.bundle = v; }},
        {"--saver", [](HostOptions& o, const std::string&, const std::string& v) { o.saverName = v; }},
        {"--duration", [](HostOptions& o, const std::string& n, const std::string& v) { o.duration = seconds(n, v); }},
        {"--screenshot", [](HostOptions& o, const std::string&, const std::string& v) { o.screenshot = v; }},
        {"--screenshot-after",
         [](HostOptions& o, const std::string& n, const std::string& v) { o.screenshotDelay = seconds(n, v); }},
        {"--idle-after", [](HostOptions& o, const std::string& n, const std::string& v) { o.idleAfter = seconds(n, v); }},
    };
    return table;
}

void checkCombination(const HostOptions& options, bool delayGiven, bool saverGiven) {
    if (options.bundle && saverGiven)
        throw usageError("give either --bundle or --saver, not both");
    if (options.bundle && options.bundle->empty())
        throw usageError("--bundle wants the path of a .saver bundle");
    if (options.saverName.empty() || options.saverName.find('/') != std::string::npos || options.saverName == "." ||
        options.saverName == "..")
        throw usageError("--saver wants the plain name of an installed screen saver, not \"" + options.saverName + "\"");
    if (options.duration && *options.duration <= 0)
        throw usageError("--duration wants more than 0 seconds");
    if (delayGiven && !options.screenshot)
        throw usageError("--screenshot-after needs --screenshot");
    if (options.screenshot && options.screenshot->empty())
        throw usageError("--screenshot wants the path of a PNG file");
    if (options.idleAfter && !options.daemon)
        throw usageError("--idle-after needs --daemon");
    if (options.idleAfter && *options.idleAfter <= 0)
        throw usageError("--idle-after wants more than 0 seconds");
    if (options.daemon && (options.mode != HostMode::FullScreen || options.duration || options.screenshot))
        throw usageError("--daemon runs the screen saver full screen and cannot be combined with --preview, "
                         "--settings, --duration or --screenshot");
}

} // namespace

HostOptions HostOptions::parse(const std::vector<std::string>& arguments) {
    HostOptions options;
    bool delayGiven = false;
    bool saverGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        std::optional<std::string> value;
        if (auto equals = option.find('='); option.starts_with("--") && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        if (auto found = valueOptions().find(option); found != valueOptions().end()) {
            if (!value && i + 1 >= arguments.size())
                throw usageError(option + " wants a value");
            found->second(options, option, value ? *value : arguments[++i]);
            delayGiven = delayGiven || option == "--screenshot-after";
            saverGiven = saverGiven || option == "--saver";
        } else if (value) {
            throw usageError("unknown option " + option);
        } else if (option == "--preview") {
            setMode(options, HostMode::Preview, option);
        } else if (option == "--settings") {
            setMode(options, HostMode::Settings, option);
        } else if (option == "--daemon") {
            options.daemon = true;
        } else if (option == "--help" || option == "-h") {
            options.help = true;
        } else {
            throw usageError("unknown argument " + option);
        }
    }
    checkCombination(options, delayGiven, saverGiven);
    return options;
}

std::string HostOptions::usage() {
    return "usage: quorvane-host [--bundle PATH | --saver NAME] [--preview | --settings]\n"
           "                     [--duration SECONDS] [--screenshot PNG [--screenshot-after SECONDS]]\n"
           "       quorvane-host [--bundle PATH | --saver NAME] --daemon [--idle-after SECONDS]\n"
           "\n"
           "Runs a screen saver: by default NAME.saver (Quorvane.saver) from Library/Screen Savers in your home\n"
           "folder, else from /Library/Screen Savers, full screen on every monitor until a key, a click or a\n"
           "pointer movement.\n"
           "  --bundle PATH              load this .saver bundle instead\n"
           "  --preview                  one small window with the preview\n"
           "  --settings                 the settings pane: the installed screen savers, a preview, their options\n"
           "                             and how long you must be idle before the screen saver starts\n"
           "  --duration SECONDS         end the run by itself after this long\n"
           "  --screenshot PNG           write a picture of the host's windows to PNG...\n"
           "  --screenshot-after SECONDS ...this long into the run (default 5), or at its end if that is sooner\n"
           "  --daemon                   wait for you to be idle, then run the screen saver until you come back;\n"
           "                             each run is a process of its own\n"
           "  --idle-after SECONDS       how long you must be idle (default: the delay in the host's preferences,\n"
           "                             else 5 minutes)\n";
}

std::vector<std::string> HostOptions::runArguments() const {
    if (bundle)
        return {"--bundle", std::filesystem::absolute(*bundle).string()};
    return {"--saver", saverName};
}

std::filesystem::path HostOptions::bundlePath(const std::filesystem::path& home,
                                              const std::filesystem::path& systemFolder) const {
    if (bundle)
        return *bundle;
    auto name = saverName + ".saver";
    auto users = home / "Library" / "Screen Savers" / name;
    std::error_code error;
    bool onlySystemWide = !std::filesystem::exists(users, error) && std::filesystem::exists(systemFolder / name, error);
    return onlySystemWide ? systemFolder / name : users;
}

} // namespace orrelith::host
