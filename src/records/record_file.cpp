// Loading and saving one high-score record file. Saving writes a temporary file next to the record,
// flushes it to disk and renames it over the record, so a crash or power cut mid-write leaves either the
// old record or the new one, never a torn file.
#include "records/record_file.h"

#include "records/rtf.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace squeakrun {
namespace {

// A record is a few hundred bytes; anything past this is not a record and is not read.
constexpr std::size_t kMaxRecordBytes = 1 << 20;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting the error a deferred write may only show at close.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!kept_) ::unlink(path_.c_str());
    }
    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    std::filesystem::path path_;
    bool kept_ = false;
};

// Creates a fresh file beside `target`, named after it and hidden, so two saves (even from two running
// games) never share one. Mode 0666 lets the umask decide, as for any file the game creates.
int createTemporary(const std::filesystem::path& target, std::filesystem::path& created) {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = target;
        candidate.replace_filename("." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                                   std::to_string(now) + "-" + std::to_string(counter++) + ".tmp");
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A record replaced by the game keeps the permissions its owner gave it.
void keepPermissions(int fd, const std::filesystem::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
}

// After the rename the new record is in place whatever happens here; only a real I/O error means it may
// not survive a power cut. Folders that cannot be opened or synced (some file systems) are no failure.
bool syncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return true;
    return ::fsync(fd.get()) == 0 || errno != EIO;
}

// A game killed in the middle of a save leaves its hidden temporary behind. Once its process is gone
// nobody will finish that save, so the next save clears such leftovers of the same record away.
void removeStaleTemporaries(const std::filesystem::path& target) {
    const std::string prefix = "." + target.filename().string() + ".";
    std::error_code ec;
    std::filesystem::path folder = target.parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            !name.ends_with(".tmp"))
            continue;
        const std::size_t digits = name.find_first_not_of("0123456789", prefix.size());
        if (digits == prefix.size() || digits == std::string::npos || name[digits] != '-' ||
            digits - prefix.size() > 9)
            continue;
        const pid_t owner = static_cast<pid_t>(std::stol(name.substr(prefix.size(), digits - prefix.size())));
        if (owner != ::getpid() && ::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
    }
}

} // namespace

std::string loadRecordFile(const std::filesystem::path& path) {
    try {
        // Non-blocking, so that a pipe or device in the record's place cannot stall the game.
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat info {};
        if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
        std::string bytes;
        bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1,
                                           kMaxRecordBytes));
        std::size_t filled = 0;
        while (filled < kMaxRecordBytes) {
            if (filled == bytes.size()) bytes.resize(std::min(bytes.size() * 2, kMaxRecordBytes));
            const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return {};
            if (got == 0) break;
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
        return rtfToText(bytes);
    } catch (...) {
        return {};
    }
}

bool saveRecordFile(const std::filesystem::path& path, std::string_view text) {
    try {
        return saveFileWhole(path, textToRtf(text));
    } catch (...) {
        return false;
    }
}

bool saveFileWhole(const std::filesystem::path& path, std::string_view bytes, bool replace) {
    try {
        if (!path.has_filename()) return false;
        std::filesystem::path created;
        FileDescriptor fd(createTemporary(path, created));
        if (fd.get() < 0) return false;
        TemporaryFile temporary(std::move(created));
        keepPermissions(fd.get(), path);
        if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close()) return false;
        // A link, unlike a rename, fails rather than take the place of a file that is already there.
        if (replace ? ::rename(temporary.path().c_str(), path.c_str()) != 0
                    : ::link(temporary.path().c_str(), path.c_str()) != 0)
            return false;
        if (replace) temporary.keep();
        removeStaleTemporaries(path);
        std::filesystem::path folder = path.parent_path();
        return syncFolder(folder.empty() ? std::filesystem::path(".") : folder);
    } catch (...) {
        return false;
    }
}

} // namespace squeakrun
