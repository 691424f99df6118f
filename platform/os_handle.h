#pragma once

#include <cstdint>

namespace ordinalette::platform {

// A native handle of the platform: a file descriptor on POSIX, a HANDLE on Windows; -1 is none
// on both.
using NativeHandle = std::intptr_t;

// Closes a native handle of the platform.
void closeNativeHandle(NativeHandle native);

// Owns one open handle of the platform and closes it when it goes. The tag keeps handles of
// folders and of files apart, so that one cannot be passed where the other is expected.
template <typename Tag> class OsHandle {
public:
    OsHandle() = default;
    explicit OsHandle(NativeHandle native) : m_native(native) {}
    ~OsHandle() { reset(); }
    OsHandle(OsHandle&& other) noexcept : m_native(other.m_native) { other.m_native = -1; }
    OsHandle& operator=(OsHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_native = other.m_native;
            other.m_native = -1;
        }
        return *this;
    }
    OsHandle(const OsHandle&) = delete;
    OsHandle& operator=(const OsHandle&) = delete;

    bool valid() const { return m_native >= 0; }
    NativeHandle native() const { return m_native; }
    void reset() {
        if (m_native >= 0)
            closeNativeHandle(m_native);
        m_native = -1;
    }

private:
    NativeHandle m_native = -1;
};

using DirectoryHandle = OsHandle<struct DirectoryHandleTag>;
using FileHandle = OsHandle<struct FileHandleTag>;

} // namespace ordinalette::platform
