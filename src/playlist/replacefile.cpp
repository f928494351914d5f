#include "playlist/replacefile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The file the path stands for: a symbolic link's target, so the link itself stays.
std::string ResolvedPath(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new, empty file in the folder, created with the mode a new file gets (0666 less the umask).
// Its name is short, so even a target whose name is as long as a name can be has room beside it.
int CreateTemporary(const std::string& folder, std::string* created) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "/.kestrune-%08x.tmp", static_cast<unsigned>(random()));
        std::string candidate = folder + name;
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

bool WriteAndSync(int fd, std::span<const unsigned char> bytes) {
    File file(fdopen(fd, "wb"));
    if (!file) {
        close(fd);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0 && fsync(fileno(file.get())) == 0;
    return std::fclose(file.release()) == 0 && written;
}

// Makes the rename itself durable. File systems that cannot sync a folder say so with EINVAL.
bool SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    close(fd);
    return synced;
}

} // namespace

bool ReplaceFile(const std::string& path, std::span<const unsigned char> bytes) {
    const std::string target = ResolvedPath(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return false;
    }
    const std::string folder = FolderOf(target);
    std::string temporary;
    const int fd = CreateTemporary(folder, &temporary);
    if (fd < 0) {
        return false;
    }
    if (exists) {
        // Keeping the owner needs privileges a user may not have; the file is saved either way.
        [[maybe_unused]] const bool ownerKept = fchown(fd, old.st_uid, old.st_gid) == 0;
        if (fchmod(fd, old.st_mode & 07777) != 0) {
            close(fd);
            unlink(temporary.c_str());
            return false;
        }
    }
    if (!WriteAndSync(fd, bytes) || std::rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return SyncFolder(folder);
}
