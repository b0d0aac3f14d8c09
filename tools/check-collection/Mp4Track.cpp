#include "Mp4Track.hpp"

#include <cstdint>

namespace orrelith::collection {

namespace {

std::uint64_t bigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

struct Box {
    std::string type;
    std::string_view body;
};

// The box at the start of bytes, or nothing when its header or size is impossible.
std::optional<Box> boxAt(std::string_view bytes) {
    if (bytes.size() < 8) {
        return std::nullopt;
    }
    std::uint64_t size = bigEndian(bytes, 0, 4);
    std::size_t header = 8;
    if (size == 1) {
        if (bytes.size() < 16) {
            return std::nullopt;
        }
        size = bigEndian(bytes, 8, 8);
        header = 16;
    } else if (size == 0) {
        size = bytes.size();
    }
    if (size < header || size > bytes.size()) {
        return std::nullopt;
    }
    return Box{std::string(bytes.substr(4, 4)), bytes.substr(header, size - header)};
}

// The body of the first box on the path, descending through containers; nothing when a step is missing.
std::optional<std::string_view> find(std::string_view bytes, std::initializer_list<std::string_view> path) {
    std::string_view level = bytes;
    for (std::string_view wanted : path) {
        bool found = false;
        while (auto box = boxAt(level)) {
            const std::size_t used = static_cast<std::size_t>(box->body.data() - level.data()) + box->body.size();
            if (box->type == wanted) {
                level = box->body;
                found = true;
                break;
            }
            level = level.substr(used);
        }
        if (!found) {
            return std::nullopt;
        }
    }
    return level;
}

std::optional<double> movieSeconds(std::string_view mvhd) {
    const bool wide = !mvhd.empty() && mvhd[0] == 1;
    const std::size_t need = wide ? 32 : 20;
    if (mvhd.size() < need) {
        return std::nullopt;
    }
    const auto scale = bigEndian(mvhd, wide ? 20 : 12, 4);
    const auto duration = bigEndian(mvhd, wide ? 24 : 16, wide ? 8 : 4);
    if (scale == 0) {
        return std::nullopt;
    }
    return static_cast<double>(duration) / static_cast<double>(scale);
}

} // namespace

std::optional<Mp4Track> Mp4Track::read(std::string_view bytes) {
    const auto ftyp = boxAt(bytes);
    if (!ftyp || ftyp->type != "ftyp") {
        return std::nullopt;
    }
    const auto mvhd = find(bytes, {"moov", "mvhd"});
    const auto stsd = find(bytes, {"moov", "trak", "mdia", "minf", "stbl", "stsd"});
    if (!mvhd || !stsd || stsd->size() < 16) {
        return std::nullopt;
    }
    const auto seconds = movieSeconds(*mvhd);
    // stsd: version and flags, an entry count, then the first sample entry box.
    const auto entry = boxAt(stsd->substr(8));
    if (!seconds || !entry) {
        return std::nullopt;
    }
    return Mp4Track{entry->type, *seconds};
}

} // namespace orrelith::collection
