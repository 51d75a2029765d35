// Files for the plug-ins on POSIX file descriptors, behind handles of the host's kind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host/system/handle_table.h"
#include "host/system/machine.h"
#include "platform/files.h"

namespace platform {

namespace {

host::HandleTable<int>& OpenFiles() {
    static host::HandleTable<int> files;
    return files;
}

uint32_t ErrorOf(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS: return ERROR_ACCESS_DENIED;
        default: return ERROR_INVALID_PARAMETER;
    }
}

// A missing folder on the way is a missing path, not a missing file.
uint32_t OpenError(const std::string& path, int error) {
    if (error == ENOENT) {
        const size_t slash = path.rfind('/');
        struct stat info {};
        if (slash != std::string::npos && slash > 0 && ::stat(path.substr(0, slash).c_str(), &info) != 0) {
            return ERROR_PATH_NOT_FOUND;
        }
    }
    return ErrorOf(error);
}

std::optional<int> DescriptorOf(HANDLE file) {
    std::optional<int> fd = OpenFiles().Find(file);
    if (!fd) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return fd;
}

}  // namespace

HANDLE CreateFileW(const char16_t* name, uint32_t access, uint32_t, void*, uint32_t disposition,
                   uint32_t, HANDLE) {
    if (name == nullptr || name[0] == u'\0' ||
        (disposition != CREATE_ALWAYS && disposition != OPEN_EXISTING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = host::MapPath(name).string();
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0;
    int flags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
    if (disposition == CREATE_ALWAYS) {
        flags |= O_CREAT | O_TRUNC;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        SetLastError(OpenError(path, errno));
        return INVALID_HANDLE_VALUE;
    }
    return OpenFiles().Add<HANDLE>(fd);
}

BOOL WriteFile(HANDLE file, const void* buffer, uint32_t size, uint32_t* written, void*) {
    if (written != nullptr) {
        *written = 0;
    }
    const std::optional<int> fd = DescriptorOf(file);
    if (!fd) {
        return FALSE;
    }
    if (buffer == nullptr && size != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint32_t done = 0;
    while (done < size) {
        const ssize_t count = ::write(*fd, static_cast<const char*>(buffer) + done, size - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            SetLastError(ErrorOf(errno));
            return FALSE;
        }
        done += static_cast<uint32_t>(count);
        if (written != nullptr) {
            *written = done;
        }
    }
    return TRUE;
}

uint32_t SetFilePointer(HANDLE file, int32_t distance, int32_t* distanceHigh, uint32_t method) {
    const std::optional<int> fd = DescriptorOf(file);
    if (!fd || method > FILE_END) {
        if (fd) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return INVALID_SET_FILE_POINTER;
    }
    int64_t offset = distance;
    if (distanceHigh != nullptr) {
        offset = (static_cast<int64_t>(*distanceHigh) << 32) | static_cast<uint32_t>(distance);
    }
    const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(*fd, offset, whence);
    if (position < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr) {
        *distanceHigh = static_cast<int32_t>(position >> 32);
    }
    return static_cast<uint32_t>(position);
}

BOOL SetEndOfFile(HANDLE file) {
    const std::optional<int> fd = DescriptorOf(file);
    if (!fd) {
        return FALSE;
    }
    const off_t position = ::lseek(*fd, 0, SEEK_CUR);
    struct stat info {};
    // A file that already ends here needs no cut; cutting costs a metadata update.
    if (position >= 0 && ::fstat(*fd, &info) == 0 && info.st_size == position) {
        return TRUE;
    }
    if (position < 0 || ::ftruncate(*fd, position) != 0) {
        SetLastError(ErrorOf(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL CloseHandle(HANDLE object) {
    const std::optional<int> fd = OpenFiles().Remove(object);
    if (!fd) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ::close(*fd);
    return TRUE;
}

}  // namespace platform
