#pragma once

#include <utility>

#include <unistd.h>

namespace quorva {

// An open file or folder of the system's, closed when it goes: for the calls that work on
// descriptors (openat, renameat2, flock, fsync), which keep a folder's paths from being followed
// or raced. Moves hand the descriptor on; a moved-from holder closes nothing.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Hands the descriptor over to another owner.
    int release() { return std::exchange(m_fd, -1); }
    // Closes it now and tells whether the system took every byte written (errno when not).
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    void reset()
    {
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
    }

    int m_fd = -1;
};

} // namespace quorva
