#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace orrelith::collection {

// One thing wrong with the collection: the file it concerns (relative to the collection folder) and what.
struct Fault {
    std::string file;
    std::string message;

    bool operator==(const Fault&) const = default;
};

// Checks a scene collection folder (the ORVEX folder): the catalog decodes strictly, slugs are unique and
// generations name a collection, every scene page and every file a page, style sheet or script refers to
// exists inside the folder, no file mentions an http or https address, every scene has a JPEG still that
// decodes, and the ambience track decodes as ALAC in an MP4 file of 20 to 60 seconds. Reads files only
// (pictures with gdk-pixbuf, the track with GStreamer as the saver decodes it); one thread at a time.
struct CollectionCheck {
    // Every fault found, grouped by kind and sorted by file within a kind; empty for a sound collection.
    static std::vector<Fault> run(const std::filesystem::path& root);

    // The command line `check-collection [FOLDER]`: checks FOLDER, else defaultRoot; prints each fault and
    // a summary to out. Returns 0 for a sound collection, 1 when faults were found, 2 for a bad command line.
    static int main(const std::vector<std::string>& args, const std::filesystem::path& defaultRoot,
                    std::ostream& out);
};

} // namespace orrelith::collection
