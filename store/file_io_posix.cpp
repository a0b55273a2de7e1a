#include "store/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ts {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    char buffer[8192];
    for (;;) {
        ssize_t n = read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes->clear();
            return FileRead::Failed;
        }
        if (n == 0) return FileRead::Read;
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string* errorReason) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    Descriptor fd(mkstemp(temp.data()));
    auto fail = [&](bool made) {
        std::string reason = LastSystemErrorText();  // before the clean-up changes errno
        fd.Close();
        if (made) unlink(temp.data());
        if (errorReason) *errorReason = reason;
        return false;
    };
    if (fd.get() < 0) return fail(false);
    // mkstemp makes the file private; keep the old file's permissions, or the usual ones for a new file.
    struct stat old;
    mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (fchmod(fd.get(), mode) != 0 || !WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0) return fail(true);
    if (!fd.Close()) return fail(true);
    if (std::rename(temp.data(), path.c_str()) != 0) return fail(true);
    return true;
}

std::string LastSystemErrorText() { return std::strerror(errno); }

}  // namespace ts
