#include "Platform/Linux/Update/ArchiveUnpacker.hpp"

#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <string>
#include <vector>

namespace orrelith::platform {

namespace {

constexpr la_int64_t maximumUnpackedBytes = la_int64_t(2) << 30;
constexpr std::size_t maximumEntries = 200000;

struct ReaderDeleter {
    void operator()(archive* reader) const { archive_read_free(reader); }
};
using Reader = std::unique_ptr<archive, ReaderDeleter>;

Reader openReader(std::string_view bytes) {
    Reader reader(archive_read_new());
    archive_read_support_filter_xz(reader.get());
    archive_read_support_format_tar(reader.get());
    if (archive_read_open_memory(reader.get(), bytes.data(), bytes.size()) != ARCHIVE_OK)
        throw ArchiveUnpacker::Refused("The update is not an xz-compressed tar archive.");
    return reader;
}

// The parts of a relative path, with "." dropped; false for an absolute path or one that climbs.
bool partsOf(const std::string& path, std::vector<std::string>& parts) {
    if (path.empty() || path.front() == '/')
        return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        auto part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..")
            return false;
        if (!part.empty() && part != ".")
            parts.push_back(part);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

// A link's target, read from the link's folder, stays inside the archive's root.
bool staysInside(const std::vector<std::string>& linkParts, const std::string& target) {
    if (target.empty() || target.front() == '/')
        return false;
    long depth = static_cast<long>(linkParts.size()) - 1;
    std::size_t start = 0;
    while (start <= target.size()) {
        auto end = target.find('/', start);
        auto part = target.substr(start, end == std::string::npos ? std::string::npos : end - start);
        depth += part == ".." ? -1 : (part.empty() || part == ".") ? 0 : 1;
        if (depth < 0)
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

void checkEntry(archive_entry* entry) {
    const char* name = archive_entry_pathname(entry);
    std::vector<std::string> parts;
    if (!name || !partsOf(name, parts))
        throw ArchiveUnpacker::Refused("The update archive holds a path outside its own folder.");
    auto type = archive_entry_filetype(entry);
    if (archive_entry_hardlink(entry) || (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK))
        throw ArchiveUnpacker::Refused("The update archive holds a link or a special file it may not hold.");
    if (type == AE_IFLNK && (parts.empty() || !archive_entry_symlink(entry) ||
                             !staysInside(parts, archive_entry_symlink(entry))))
        throw ArchiveUnpacker::Refused("The update archive holds a link that leads outside it.");
}

void checkAll(std::string_view bytes) {
    auto reader = openReader(bytes);
    archive_entry* entry = nullptr;
    la_int64_t total = 0;
    std::size_t count = 0;
    int status;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        checkEntry(entry);
        total += archive_entry_size(entry);
        if (++count > maximumEntries || total > maximumUnpackedBytes)
            throw ArchiveUnpacker::Refused("The update archive is larger than any release.");
        if (archive_read_data_skip(reader.get()) != ARCHIVE_OK)
            status = ARCHIVE_FATAL;
        if (status == ARCHIVE_FATAL)
            break;
    }
    if (status != ARCHIVE_EOF || count == 0)
        throw ArchiveUnpacker::Refused("The update archive is damaged.");
}

} // namespace

namespace {

struct WriterDeleter {
    void operator()(archive* writer) const { archive_write_free(writer); }
};

void copyData(archive* reader, archive* writer) {
    const void* block = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    int status;
    while ((status = archive_read_data_block(reader, &block, &size, &offset)) == ARCHIVE_OK)
        if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK)
            throw std::runtime_error(archive_error_string(writer) ? archive_error_string(writer) : "write failed");
    if (status != ARCHIVE_EOF)
        throw std::runtime_error("The update archive is damaged.");
}

void extractAll(std::string_view bytes, const std::filesystem::path& destination) {
    auto reader = openReader(bytes);
    std::unique_ptr<archive, WriterDeleter> writer(archive_write_disk_new());
    // Entries are written below an absolute destination, so the absolute-path guard cannot be used here;
    // checkAll has refused absolute entries already. The destination is canonical, so the symbolic-link
    // guard sees no link above it.
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM |
                                                     ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                     ARCHIVE_EXTRACT_SECURE_SYMLINKS);
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        archive_entry_set_pathname(entry, (destination / archive_entry_pathname(entry)).c_str());
        archive_entry_set_perm(entry, archive_entry_perm(entry) & 0777);
        if (archive_write_header(writer.get(), entry) != ARCHIVE_OK)
            throw std::runtime_error(archive_error_string(writer.get()) ? archive_error_string(writer.get())
                                                                         : "cannot write the update");
        if (archive_entry_size(entry) > 0)
            copyData(reader.get(), writer.get());
        if (archive_write_finish_entry(writer.get()) != ARCHIVE_OK)
            throw std::runtime_error("cannot finish writing the update");
    }
}

} // namespace

void ArchiveUnpacker::unpack(std::string_view archive, const std::filesystem::path& destination) {
    checkAll(archive);
    if (!std::filesystem::create_directory(destination))
        throw Refused("The folder for the update is in use.");
    try {
        extractAll(archive, std::filesystem::canonical(destination));
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(destination, ignored);
        throw;
    }
}

} // namespace orrelith::platform
