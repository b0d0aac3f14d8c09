#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CollectionCheck.hpp"
#include "TemporaryFolder.hpp"

namespace fs = std::filesystem;
using orrelith::collection::CollectionCheck;
using orrelith::collection::Fault;

namespace {

const fs::path shipped = ORRELITH_COLLECTION_DIR;

std::string read(const fs::path& path) { return orrelith::testing::TemporaryFolder::read(path); }

void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void append(const fs::path& path, const std::string& text) { write(path, read(path) + text); }

void editCatalog(const fs::path& root, const std::function<void(nlohmann::json&)>& edit) {
    auto catalog = nlohmann::json::parse(read(root / "catalog.json"));
    edit(catalog);
    write(root / "catalog.json", catalog.dump(2));
}

// An AAC track in an .m4a, made with GStreamer's own tools: it decodes, but would not loop sample-exactly.
void writeAacTrack(const fs::path& file) {
    const std::string command = "gst-launch-1.0 -q audiotestsrc num-buffers=1200 ! avenc_aac ! mp4mux ! "
                                "filesink location='" + file.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// A private copy of the shipped collection, for a test to break.
class CollectionCopy : public ::testing::Test {
protected:
    void fresh() {
        fs::remove_all(root);
        fs::copy(shipped, root, fs::copy_options::recursive);
    }

    orrelith::testing::TemporaryFolder folder{"collection"};
    fs::path root = folder / "ORVEX";
};

bool contains(const std::vector<Fault>& faults, const Fault& wanted) {
    return std::any_of(faults.begin(), faults.end(), [&](const Fault& f) {
        return f.file == wanted.file && f.message.rfind(wanted.message, 0) == 0;
    });
}

std::string describe(const std::vector<Fault>& faults) {
    std::string text;
    for (const auto& f : faults)
        text += "  " + f.file + ": " + f.message + "\n";
    return text.empty() ? "  (no fault)\n" : text;
}

struct Breakage {
    const char* name;
    std::function<void(const fs::path&)> apply;
    Fault expected; // the message is matched as a prefix
};

TEST_F(CollectionCopy, EveryKindOfBreakageIsFoundAndFailsTheCommand) {
    const std::vector<Breakage> breakages{
        {"asset fetched by a script removed", [](auto& r) { fs::remove(r / "fleet/vessels.json"); },
         {"fleet/fleet.js", "refers to a missing file: vessels.json"}},
        {"shared style sheet removed", [](auto& r) { fs::remove(r / "common/console.css"); },
         {"fleet/index.html", "refers to a missing file: ../common/console.css"}},
        {"style sheet refers to a missing image",
         [](auto& r) { append(r / "fleet/fleet.css", "body { background: url(grain.png); }\n"); },
         {"fleet/fleet.css", "refers to a missing file: grain.png"}},
        {"page loads an image over http",
         [](auto& r) { append(r / "star-chart.html", "<img src=\"http://127.0.0.1/x.png\">\n"); },
         {"star-chart.html", "mentions an http:// address"}},
        {"script mentions an https address",
         [](auto& r) { append(r / "common/console.js", "// HTTPS://example.org/docs\n"); },
         {"common/console.js", "mentions an https:// address"}},
        {"protocol-relative script",
         [](auto& r) { append(r / "duty-roster.html", "<script src=\"//cdn.example/x.js\"></script>\n"); },
         {"duty-roster.html", "refers outside the collection: //cdn.example/x.js"}},
        {"reference climbs out of the folder",
         [](auto& r) { append(r / "duty-roster.html", "<link rel=\"stylesheet\" href=\"../../secrets.css\">\n"); },
         {"duty-roster.html", "refers outside the collection: ../../secrets.css"}},
        {"bundle URL to a missing file",
         [](auto& r) { append(r / "helm-conn.html", "<img src=\"orrelith://bundle/gallery/none.jpg\">\n"); },
         {"helm-conn.html", "refers to a missing file: orrelith://bundle/gallery/none.jpg"}},
        {"slug duplicated",
         [](auto& r) { editCatalog(r, [](auto& c) { c["scenes"].push_back(c["scenes"][0]); }); },
         {"catalog.json", "slug bridge-status is used by more than one scene"}},
        {"channel written as text",
         [](auto& r) { editCatalog(r, [](auto& c) { c["scenes"][0]["channel"] = "1"; }); },
         {"catalog.json", "does not decode: "}},
        {"generation names no collection",
         [](auto& r) { editCatalog(r, [](auto& c) { c["scenes"][1]["generation"] = 8; }); },
         {"catalog.json", "scene helm-conn has generation 8, not one of 1 to 7"}},
        {"scene page removed", [](auto& r) { fs::remove(r / "helm-conn.html"); },
         {"catalog.json", "page helm-conn.html of scene helm-conn is missing"}},
        {"still removed", [](auto& r) { fs::remove(r / "gallery/helm-conn.jpg"); },
         {"gallery/helm-conn.jpg", "missing still for scene helm-conn"}},
        {"still cut short",
         [](auto& r) { write(r / "gallery/helm-conn.jpg", read(r / "gallery/helm-conn.jpg").substr(0, 900)); },
         {"gallery/helm-conn.jpg", "broken still: "}},
        {"still that is no picture", [](auto& r) { write(r / "gallery/helm-conn.jpg", "<html></html>"); },
         {"gallery/helm-conn.jpg", "broken still: "}},
        {"still of a scene no longer listed",
         [](auto& r) { fs::copy_file(r / "gallery/helm-conn.jpg", r / "gallery/old-scene.jpg"); },
         {"gallery/old-scene.jpg", "still of no scene in the catalog"}},
        {"track removed", [](auto& r) { fs::remove(r / "sound/ambience.m4a"); },
         {"sound/ambience.m4a", "missing ambience track"}},
        {"track that is no audio", [](auto& r) { write(r / "sound/ambience.m4a", "RIFF\x24\0\0\0WAVEfmt "); },
         {"sound/ambience.m4a", "does not decode as audio"}},
        {"track encoded as AAC", [](auto& r) { writeAacTrack(r / "sound/ambience.m4a"); },
         {"sound/ambience.m4a", "encoded as video/quicktime, audio/mpeg, not ALAC"}},
    };
    for (const auto& breakage : breakages) {
        fresh();
        breakage.apply(root);
        const auto faults = CollectionCheck::run(root);
        EXPECT_TRUE(contains(faults, breakage.expected))
            << breakage.name << ": wanted " << breakage.expected.file << ": " << breakage.expected.message
            << "\nfound:\n" << describe(faults);
        std::ostringstream out;
        EXPECT_EQ(CollectionCheck::main({root.string()}, shipped, out), 1) << breakage.name;
    }
}

TEST(CollectionCheck, TheShippedCollectionHasNoFaultAndTheCommandLineSaysSoOrRefusesBadArguments) {
    const auto faults = CollectionCheck::run(shipped);
    EXPECT_TRUE(faults.empty()) << describe(faults);
    std::ostringstream ok;
    EXPECT_EQ(CollectionCheck::main({}, shipped, ok), 0);
    EXPECT_NE(ok.str().find("collection ok"), std::string::npos);

    std::ostringstream missing;
    EXPECT_EQ(CollectionCheck::main({"/nonexistent/ORVEX"}, shipped, missing), 1);
    EXPECT_NE(missing.str().find("no such folder"), std::string::npos);

    std::ostringstream usage;
    EXPECT_EQ(CollectionCheck::main({"--all"}, shipped, usage), 2);
    EXPECT_EQ(CollectionCheck::main({"a", "b"}, shipped, usage), 2);
}

} // namespace
