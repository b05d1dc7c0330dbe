#pragma once

#include <unistd.h>

namespace quorva {

// An open file or folder of the system's, closed when it goes: for the calls that work on
// descriptors (openat, renameat2, flock, fsync), which keep a catalog's paths from being followed
// or raced.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace quorva
