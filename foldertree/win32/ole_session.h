#pragma once

#include <ole2.h>

namespace ordinalette::foldertree {

// The platform's object services for the calling thread while the object lives: the shell
// namespace needs them on the thread that uses it.
class OleSession {
public:
    OleSession() : m_initialised(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (m_initialised)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    bool initialised() const { return m_initialised; }

private:
    bool m_initialised;
};

} // namespace ordinalette::foldertree
