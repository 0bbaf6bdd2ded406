#include "files/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The rights a file made now gets: what the umask leaves of rw-rw-rw-.
mode_t newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string finalPathOf(const std::string& path)
{
    // A loop of links ends after as many steps as the system allows.
    std::string at = path;
    for (int step = 0; step < 40; ++step) {
        struct stat status;
        if (lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return at;
        std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
        ssize_t length = readlink(at.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<size_t>(length) >= link.size())
            return path;
        link.resize(static_cast<size_t>(length));
        if (link[0] == '/') {
            at = link;
        } else {
            // Relative to the folder that holds the link.
            size_t slash = at.rfind('/');
            at = (slash == std::string::npos ? std::string() : at.substr(0, slash + 1)) + link;
        }
    }
    return path;
}

bool isReadOnlyFile(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return false;
    // Renaming over a file needs only the folder's rights: the file's own
    // rights are asked here.  No write bit at all holds even for root.
    return (status.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

std::FILE* createNewFile(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(path.c_str());
    }
    return file;
}

void takeRightsOf(std::FILE* file, const std::string& target)
{
    const int fd = fileno(file);
    struct stat status;
    if (stat(target.c_str(), &status) != 0) {
        fchmod(fd, newFileMode());
        return;
    }
    // Owner first: changing it may clear the set-id bits that the mode
    // then puts back.  Only root may give a file away; others keep theirs.
    if (fchown(fd, status.st_uid, status.st_gid) != 0 && (errno == EPERM || errno == EINVAL))
        (void)!fchown(fd, static_cast<uid_t>(-1), status.st_gid);
    fchmod(fd, status.st_mode & 07777);
}

bool replaceWithNewFile(const std::string& temporary, const std::string& target)
{
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}

std::vector<std::string> namesInFolder(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
    if (!directory)
        return names;
    while (const dirent* entry = readdir(directory))
        names.emplace_back(entry->d_name);
    closedir(directory);
    return names;
}
