#include "files/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// GetFinalPathNameByHandle answers in the \\?\ form; the program's paths
// are plain drive or UNC paths.
std::string withoutLongPrefix(std::string path)
{
    if (path.rfind("\\\\?\\UNC\\", 0) == 0)
        return "\\\\" + path.substr(8);
    if (path.rfind("\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::string fullPathOf(const std::string& path)
{
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full);
}

}  // namespace

std::string finalPathOf(const std::string& path)
{
    // Wine shows a Unix symbolic link as the file it leads to, with no
    // reparse point: every existing file is asked for its final name.
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return path;
    char final[MAX_PATH * 4];
    DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= sizeof final)
        return path;
    return withoutLongPrefix(final);
}

bool isReadOnlyFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::FILE* createNewFile(const std::string& path)
{
    // CREATE_NEW fails on any existing name, a link included.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        DeleteFileA(path.c_str());
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        _close(fd);
        DeleteFileA(path.c_str());
    }
    return file;
}

void takeRightsOf(std::FILE* file, const std::string& target)
{
    // ReplaceFile keeps the replaced file's attributes and security.
    (void)file;
    (void)target;
}

bool replaceWithNewFile(const std::string& temporary, const std::string& target)
{
    const DWORD attributes = GetFileAttributesA(target.c_str());
    // Wine's ReplaceFile would move a folder aside to put the file there.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Wine's ReplaceFile fails on names without a folder, and it renames
        // the new file over the old one without carrying the attributes
        // over (nor the Unix mode, which nothing here can set).
        const std::string replaced = fullPathOf(target), replacement = fullPathOf(temporary);
        if (ReplaceFileA(replaced.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr)) {
            if (GetFileAttributesA(target.c_str()) != attributes)
                SetFileAttributesA(target.c_str(), attributes);
            return true;
        }
        // Both files are still there when it failed before the swap; a
        // plain rename then still puts the new file in place.
        if (GetFileAttributesA(temporary.c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
    }
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::vector<std::string> namesInFolder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    std::string pattern = folder + "*";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}
