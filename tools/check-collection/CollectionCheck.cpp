#include "CollectionCheck.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

#include "OrrelithCore/Catalog.hpp"
#include "PageReferences.hpp"
#include "Platform/Linux/Audio/GstAudioFile.hpp"
#include "Platform/Linux/Views/PixbufStill.hpp"

namespace orrelith::collection {

namespace fs = std::filesystem;

namespace {

// The collections of the options window are generations 1 to 7.
constexpr std::int64_t firstGeneration = 1;
constexpr std::int64_t lastGeneration = 7;
constexpr double shortestTrack = 20.0;
constexpr double longestTrack = 60.0;

using Faults = std::vector<Fault>;

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string inCollection(const fs::path& root, const fs::path& path) {
    return path.lexically_relative(root).generic_string();
}

bool isInside(const fs::path& root, const fs::path& path) {
    const auto rel = path.lexically_normal().lexically_relative(root);
    return !rel.empty() && *rel.begin() != ".." && rel != ".";
}

std::vector<fs::path> filesBelow(const fs::path& root) {
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (it->is_regular_file()) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool isText(const fs::path& path) {
    static const std::set<std::string> kinds{".html", ".htm", ".css", ".js", ".mjs", ".svg"};
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return kinds.contains(ext);
}

std::optional<Catalog> checkCatalog(const fs::path& root, Faults& faults) {
    const auto text = readFile(root / "catalog.json");
    if (!text) {
        faults.push_back({"catalog.json", "missing or unreadable"});
        return std::nullopt;
    }
    try {
        return Catalog::decode(*text);
    } catch (const DecodingError& error) {
        faults.push_back({"catalog.json", std::string("does not decode: ") + error.what()});
        return std::nullopt;
    }
}

void checkStill(const fs::path& root, const Scene& scene, Faults& faults) {
    const auto still = root / "gallery" / (scene.slug + ".jpg");
    std::string problem;
    if (!fs::is_regular_file(still)) {
        faults.push_back({inCollection(root, still), "missing still for scene " + scene.slug});
    } else if (const auto picture = platform::PixbufStill::read(still, problem); !picture) {
        faults.push_back({inCollection(root, still), "broken still: " + problem});
    } else if (picture->format != "jpeg") {
        faults.push_back({inCollection(root, still), "a " + picture->format + " picture, not a JPEG"});
    }
}

void checkScenes(const fs::path& root, const Catalog& catalog, Faults& faults) {
    std::set<std::string> seen;
    for (const auto& scene : catalog.scenes) {
        if (!seen.insert(scene.slug).second) {
            faults.push_back({"catalog.json", "slug " + scene.slug + " is used by more than one scene"});
        }
        if (scene.generation < firstGeneration || scene.generation > lastGeneration) {
            faults.push_back({"catalog.json", "scene " + scene.slug + " has generation " +
                                                  std::to_string(scene.generation) + ", not one of 1 to 7"});
        }
        const auto page = (root / scene.page()).lexically_normal();
        if (!isInside(root, page) || !fs::is_regular_file(page)) {
            faults.push_back({"catalog.json", "page " + scene.page() + " of scene " + scene.slug + " is missing"});
        }
        checkStill(root, scene, faults);
    }
    for (const auto& file : filesBelow(root / "gallery")) {
        if (file.extension() == ".jpg" && !seen.contains(file.stem().string())) {
            faults.push_back({inCollection(root, file), "still of no scene in the catalog"});
        }
    }
}

// Where a reference written in `from` points, or a reason it cannot be served from the collection.
std::optional<fs::path> resolve(const fs::path& root, const fs::path& from, const std::string& reference,
                                std::string& reason) {
    const std::string file = PageReferences::filePart(reference);
    const std::string bundle = "orrelith://bundle/";
    fs::path target;
    if (file.rfind(bundle, 0) == 0) {
        target = root / file.substr(bundle.size());
    } else if (file.find("://") != std::string::npos || file.rfind("//", 0) == 0) {
        reason = "refers outside the collection: " + reference;
        return std::nullopt;
    } else if (!file.empty() && file.front() == '/') {
        target = root / file.substr(1);
    } else {
        target = from.parent_path() / file;
    }
    target = target.lexically_normal();
    if (!isInside(root, target)) {
        reason = "refers outside the collection: " + reference;
        return std::nullopt;
    }
    return target;
}

void checkReferences(const fs::path& root, const std::vector<fs::path>& files, Faults& faults) {
    for (const auto& file : files) {
        if (!isText(file)) {
            continue;
        }
        for (const auto& reference : PageReferences::extract(readFile(file).value_or(""))) {
            if (PageReferences::filePart(reference).empty()) {
                continue;
            }
            std::string reason;
            const auto target = resolve(root, file, reference, reason);
            if (!target) {
                faults.push_back({inCollection(root, file), reason});
            } else if (!fs::is_regular_file(*target)) {
                faults.push_back({inCollection(root, file), "refers to a missing file: " + reference});
            }
        }
    }
}

void checkWebAddresses(const fs::path& root, const std::vector<fs::path>& files, Faults& faults) {
    for (const auto& file : files) {
        std::string text = readFile(file).value_or("");
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const char* scheme : {"http://", "https://"}) {
            if (text.find(scheme) != std::string::npos) {
                faults.push_back({inCollection(root, file), std::string("mentions an ") + scheme + " address"});
            }
        }
    }
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text.empty() ? "nothing known" : text;
}

// ALAC in an MP4 (.m4a) file, as the saver's own decoding sees it: AAC would not loop sample-exactly.
bool isAlacInMp4(const std::vector<std::string>& mediaTypes) {
    return mediaTypes.size() == 2 && (mediaTypes[0] == "video/quicktime" || mediaTypes[0] == "audio/x-m4a") &&
           mediaTypes[1] == "audio/x-alac";
}

void checkTrack(const fs::path& root, Faults& faults) {
    const std::string name = "sound/ambience.m4a";
    if (!fs::is_regular_file(root / name)) {
        faults.push_back({name, "missing ambience track"});
        return;
    }
    const auto track = platform::GstAudioFile::open(root / name);
    if (!track) {
        faults.push_back({name, "does not decode as audio"});
        return;
    }
    const double seconds = static_cast<double>(track->length()) / track->processingFormat().sampleRate;
    if (!isAlacInMp4(track->mediaTypes())) {
        faults.push_back({name, "encoded as " + joined(track->mediaTypes()) +
                                    ", not ALAC in an MP4 file (it would not loop sample-exactly)"});
    } else if (seconds < shortestTrack || seconds > longestTrack) {
        faults.push_back({name, "lasts " + std::to_string(seconds) + " s, not 20 to 60 s"});
    }
}

} // namespace

std::vector<Fault> CollectionCheck::run(const fs::path& folder) {
    const fs::path root = fs::absolute(folder).lexically_normal();
    Faults faults;
    if (!fs::is_directory(root)) {
        faults.push_back({root.string(), "no such folder"});
        return faults;
    }
    if (const auto catalog = checkCatalog(root, faults)) {
        checkScenes(root, *catalog, faults);
    }
    const auto files = filesBelow(root);
    checkReferences(root, files, faults);
    checkWebAddresses(root, files, faults);
    checkTrack(root, faults);
    return faults;
}

int CollectionCheck::main(const std::vector<std::string>& args, const fs::path& defaultRoot, std::ostream& out) {
    if (args.size() > 1 || (!args.empty() && args[0].rfind("-", 0) == 0)) {
        out << "usage: check-collection [ORVEX-FOLDER]\n";
        return 2;
    }
    const fs::path root = args.empty() ? defaultRoot : fs::path(args[0]);
    const auto faults = run(root);
    for (const auto& fault : faults) {
        out << fault.file << ": " << fault.message << "\n";
    }
    if (!faults.empty()) {
        out << faults.size() << " fault(s) in " << root.string() << "\n";
        return 1;
    }
    out << "collection ok: " << root.string() << "\n";
    return 0;
}

} // namespace orrelith::collection
