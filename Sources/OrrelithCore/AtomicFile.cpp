#include "OrrelithCore/AtomicFile.hpp"

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orrelith {
namespace {

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// A file beside the target that is removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
            path_ = target;
            path_.replace_filename("." + target.filename().string() + "." + std::to_string(getpid()) + "." +
                                   std::to_string(counter++) + ".tmp");
            descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ < 0 && errno != EEXIST) {
                break;
            }
        }
        if (descriptor_ < 0) {
            throwErrno("cannot create a temporary file beside " + target.string());
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

    // A replaced file keeps the permissions its owner gave it.
    void keepModeOf(const std::filesystem::path& target) {
        struct stat existing {};
        if (::stat(target.c_str(), &existing) == 0 && ::fchmod(descriptor_, existing.st_mode & 07777) != 0) {
            throwErrno("cannot set the mode of " + path_.string());
        }
    }

    void commit(const std::filesystem::path& target) {
        if (::fsync(descriptor_) != 0) {
            throwErrno("cannot flush " + path_.string());
        }
        if (closeDescriptor() != 0) {
            throwErrno("cannot close " + path_.string());
        }
        if (::rename(path_.c_str(), target.c_str()) != 0) {
            throwErrno("cannot replace " + target.string());
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

} // namespace

void AtomicFile::write(const std::filesystem::path& file, std::string_view bytes) {
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::filesystem::create_directories(folder);
    TemporaryFile temporary(file);
    temporary.write(bytes);
    temporary.keepModeOf(file);
    temporary.commit(file);
    syncFolder(folder);
}

} // namespace orrelith
