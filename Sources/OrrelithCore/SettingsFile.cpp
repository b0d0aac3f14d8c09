#include "OrrelithCore/SettingsFile.hpp"

#include <atomic>
#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "OrrelithCore/HomeFolder.hpp"

namespace orrelith {
namespace {

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// A file beside the document that is removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& document) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
            path_ = document;
            path_.replace_filename("." + document.filename().string() + "." + std::to_string(getpid()) + "." +
                                   std::to_string(counter++) + ".tmp");
            descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ < 0 && errno != EEXIST) {
                break;
            }
        }
        if (descriptor_ < 0) {
            throwErrno("cannot create a temporary file beside " + document.string());
        }
    }
    ~TemporaryFile() {
        closeDescriptor();
        if (!committed_) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                throwErrno("cannot write " + path_.string());
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void commit(const std::filesystem::path& document) {
        if (::fsync(descriptor_) != 0) {
            throwErrno("cannot flush " + path_.string());
        }
        if (closeDescriptor() != 0) {
            throwErrno("cannot close " + path_.string());
        }
        if (::rename(path_.c_str(), document.c_str()) != 0) {
            throwErrno("cannot replace " + document.string());
        }
        committed_ = true;
    }

private:
    int closeDescriptor() {
        const int result = descriptor_ >= 0 ? ::close(descriptor_) : 0;
        descriptor_ = -1;
        return result;
    }

    std::filesystem::path path_;
    int descriptor_ = -1;
    bool committed_ = false;
};

// Makes the rename itself durable; a failure here loses nothing already written, so it is not reported.
void syncFolder(const std::filesystem::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

std::optional<std::string> readBounded(const std::filesystem::path& path, std::uintmax_t limit) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string text;
    char chunk[65536];
    while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(stream.gcount()));
        if (text.size() > limit) {
            return std::nullopt;
        }
    }
    return stream.bad() ? std::nullopt : std::optional(std::move(text));
}

} // namespace

SettingsFile SettingsFile::inSupport(std::string_view folder) {
    return SettingsFile(HomeFolder::real() / "Library/Application Support" / folder / "settings.json");
}

std::optional<Settings> SettingsFile::load() const {
    const auto text = readBounded(url, maxDocumentSize);
    if (!text) {
        return std::nullopt;
    }
    try {
        return Settings::decode(*text);
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

void SettingsFile::save(const Settings& settings) const {
    const auto folder = url.has_parent_path() ? url.parent_path() : std::filesystem::path(".");
    std::filesystem::create_directories(folder);
    const std::string text = settings.encode();
    TemporaryFile temporary(url);
    temporary.write(text);
    temporary.commit(url);
    syncFolder(folder);
}

} // namespace orrelith
