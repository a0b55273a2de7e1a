#include "store/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
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

// The folder part of a path, with its separator ("" for a bare file name).
std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int CreateTempBeside(const std::string& path, std::string* temp) {
    static unsigned long counter = 0;
    const std::string folder = FolderOf(path);
    const std::string name = path.substr(folder.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = folder + TempFileName(name, static_cast<unsigned long>(getpid()), ++counter);
        int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteInPlace(const std::string& path, const std::string& bytes) {
    Descriptor fd(open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0) return false;
    return WriteAll(fd.get(), bytes) && ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 &&
           fsync(fd.get()) == 0;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::string* bytes) {
    bytes->clear();
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Failed;
    // Straight into the string, sized once: a large file is read at the speed of a copy.
    struct stat info;
    std::size_t capacity = fstat(fd.get(), &info) == 0 && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) capacity = capacity * 2 + 8192;  // the file grew, or its size was unknown
        bytes->resize(capacity);
        ssize_t n = read(fd.get(), &(*bytes)[size], capacity - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes->clear();
            return FileRead::Failed;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    bytes->resize(size);
    return FileRead::Read;
}

bool SaveWholeFile(const std::string& path, const std::string& bytes, std::string* errorReason) {
    auto fail = [errorReason]() {
        if (errorReason) *errorReason = LastSystemErrorText();
        return false;
    };
    struct stat old;
    const bool exists = stat(path.c_str(), &old) == 0;
    if (exists && (S_ISDIR(old.st_mode) || access(path.c_str(), W_OK) != 0)) {
        errno = EACCES;
        return fail();
    }
    if (exists && old.st_nlink > 1) return WriteInPlace(path, bytes) || fail();

    std::string temp;
    Descriptor fd(CreateTempBeside(path, &temp));
    if (fd.get() < 0) {
        // No new file may be made in this folder, yet the file itself may be writable.
        if (exists && WriteInPlace(path, bytes)) return true;
        return fail();
    }
    auto failAndRemove = [&]() {
        std::string reason = LastSystemErrorText();  // before the clean-up changes errno
        fd.Close();
        unlink(temp.c_str());
        if (errorReason) *errorReason = reason;
        return false;
    };
    // The new file gets the old file's permissions, or the usual ones for a new file.
    mode_t mode = exists ? (old.st_mode & 07777) : 0644;
    if (fchmod(fd.get(), mode) != 0 || !WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0) return failAndRemove();
    if (!fd.Close()) return failAndRemove();
    if (std::rename(temp.c_str(), path.c_str()) != 0) return failAndRemove();
    return true;
}

void RemoveLeftoverTemporaries(const std::string& path) {
    const std::string folder = FolderOf(path);
    const std::string name = path.substr(folder.size());
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (struct dirent* entry = readdir(dir)) {
        if (IsTempFileOf(entry->d_name, name)) unlink((folder + entry->d_name).c_str());
    }
    closedir(dir);
}

std::string LastSystemErrorText() { return std::strerror(errno); }

}  // namespace ts
