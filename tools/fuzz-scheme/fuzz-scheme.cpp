// fuzz-scheme [--paths N] [--seed S]
//
// Builds a throw-away collection (files, a folder with a space, a non-ASCII name, links pointing in and out,
// a pipe) with secret files beside it and a sibling folder whose name starts like the root's, then asks the
// scheme handler's response function for N random request URLs made of percent-encodings, dot segments,
// NULs, slashes, backslashes and Unicode. Every 200 must carry exactly the bytes of a file below the root;
// any answer holding a secret, or bytes of no file below the root, is reported and the exit status is 1.

#include "Saver/BundleSchemeHandler.hpp"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using orrelith::BundleSchemeHandler;

namespace {

struct Options {
    std::uint64_t paths = 1'000'000;
    std::uint64_t seed = 20240611;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        auto value = std::strtoull(argv[i + 1], nullptr, 10);
        if (name == "--paths")
            options.paths = value;
        else if (name == "--seed")
            options.seed = value;
    }
    return options;
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

struct Collection {
    fs::path folder;
    fs::path root;
    std::set<std::string> inside; // contents of the files below the root
    std::string secret;           // a marker only files outside the root hold
};

Collection makeCollection(std::uint64_t seed) {
    Collection c;
    std::string pattern = (fs::temp_directory_path() / "fuzz-scheme-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    c.folder = pattern;
    c.root = c.folder / "Quorvane.saver/Contents/Resources/ORVEX";
    c.secret = "SECRET-" + std::to_string(seed) + "-outside";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"index.html", "<html>index</html>"}, {"a.html", "<html>a</html>"},     {"sub/b.css", "b{}"},
        {"sub dir/c.js", "c();"},             {"\xc3\xbc.json", "{\"u\":1}"},   {".hidden", "hidden"},
        {"sub/deeper/d.png", "PNG"},          {"%2e%2e/e.txt", "literal dots"}, {"empty.js", ""},
    };
    for (const auto& [name, content] : files) {
        writeFile(c.root / name, content);
        c.inside.insert(content);
    }
    for (const auto* outside : {"secret.txt", "Quorvane.saver/Contents/Resources/secret.json",
                                "Quorvane.saver/Contents/Resources/ORVEX-evil/x.css", "Quorvane.saver/secret.html"})
        writeFile(c.folder / outside, c.secret + " " + outside);
    fs::create_symlink("a.html", c.root / "link-in");
    fs::create_symlink("../../../../secret.txt", c.root / "link-out");
    fs::create_symlink(c.folder, c.root / "dir-out");
    fs::create_symlink("../secret.json", c.root / "sub/link-up");
    ::mkfifo((c.root / "pipe").c_str(), 0600);
    return c;
}

const std::vector<std::string> tokens = {
    "a.html", "index.html", "sub", "b.css", "sub dir", "sub%20dir", "c.js", "\xc3\xbc.json", "%C3%BC.json",
    ".hidden", "deeper", "d.png", "empty.js", "link-in", "link-out", "dir-out", "link-up", "pipe", "secret.txt",
    "secret.json", "secret.html", "ORVEX", "ORVEX-evil", "x.css", "Quorvane.saver", "Contents", "Resources",
    "..", ".", "", "...", "%2e%2e", "%2E%2E", "%2e.", ".%2e", "%252e%252e", "..%2f", "..%2F", "%2f", "%2F",
    "%5c", "\\", "..\\", "%00", std::string(1, '\0'), "%", "%z", "%zz", "%2", "%ff", "%c0%ae", "%e2%80%ae",
    "\xe2\x80\xae", "\xf0\x9f\x9a\x80", "%f0%9f%9a%80", "?", "#", "%3f", "%23", ";", "%3b",
};
const std::vector<std::string> joints = {"/", "/", "/", "//", "%2f", "%2F", "\\", "%5c", "/./", "/../"};
const std::vector<std::string> prefixes = {"orrelith://bundle", "orrelith://bundle", "orrelith://other-host",
                                           "orrelith://", "orrelith:", "ORRELITH://BUNDLE", "", "orrelith:///"};

std::string randomBytes(std::mt19937_64& random) {
    std::string bytes(random() % 6 + 1, '\0');
    for (auto& byte : bytes)
        byte = static_cast<char>(random() % 256);
    return bytes;
}

std::string randomURL(std::mt19937_64& random, const Collection& c) {
    std::string url = prefixes[random() % prefixes.size()];
    if (random() % 50 == 0)
        url += "/" + c.folder.string();
    auto segments = random() % 9;
    for (std::uint64_t i = 0; i < segments; ++i) {
        url += joints[random() % joints.size()];
        url += random() % 12 == 0 ? randomBytes(random) : tokens[random() % tokens.size()];
    }
    if (random() % 8 == 0)
        url += random() % 2 ? "?q=../secret.txt" : "#../../secret.txt";
    return url;
}

std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += (c < 0x20 || c >= 0x7f) ? std::string(hex) : std::string(1, static_cast<char>(c));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    Options options = parse(argc, argv);
    Collection collection = makeCollection(options.seed);
    std::mt19937_64 random(options.seed);
    std::uint64_t served = 0, refused = 0, violations = 0;
    auto start = std::chrono::steady_clock::now();
    for (std::uint64_t i = 0; i < options.paths; ++i) {
        std::string url = randomURL(random, collection);
        auto response = BundleSchemeHandler::response(url, collection.root);
        if (response.statusCode != 200) {
            ++refused;
            continue;
        }
        ++served;
        bool leaked = response.body.find(collection.secret) != std::string::npos;
        if (leaked || !collection.inside.count(response.body)) {
            if (++violations <= 20)
                std::printf("SERVED FROM OUTSIDE: %s -> %s\n", printable(url).c_str(),
                            printable(response.body.substr(0, 60)).c_str());
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::error_code error;
    fs::remove_all(collection.folder, error);
    std::printf("fuzz-scheme: seed %llu, %llu paths in %.1f s (%.1f us each): %llu served, %llu refused, "
                "%llu served from outside the root\n",
                static_cast<unsigned long long>(options.seed), static_cast<unsigned long long>(options.paths), seconds,
                seconds * 1e6 / static_cast<double>(std::max<std::uint64_t>(options.paths, 1)),
                static_cast<unsigned long long>(served), static_cast<unsigned long long>(refused),
                static_cast<unsigned long long>(violations));
    return violations == 0 ? 0 : 1;
}
