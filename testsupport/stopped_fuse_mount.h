#pragma once

#include "platform/change_notification.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct fuse_req;
struct fuse_session;

namespace ordinalette::testsupport {

// A FUSE file system whose server has stopped answering, as a network server that went away:
// mounted at a folder, it takes every request after the kernel's greeting and answers none, so
// whoever asks it anything waits. Each request taken makes its handle readable, so a test sees
// at once that someone waits on it. Destroying it answers every request it holds with an error
// and unmounts it, so that nothing stays blocked. Needs /dev/fuse and the right to mount.
class StoppedFuseMount {
public:
    explicit StoppedFuseMount(const std::string& mountPoint);
    ~StoppedFuseMount();
    StoppedFuseMount(const StoppedFuseMount&) = delete;
    StoppedFuseMount& operator=(const StoppedFuseMount&) = delete;

    // Whether it is mounted; failure() says why not.
    bool mounted() const { return m_session != nullptr; }
    const std::string& failure() const { return m_failure; }
    // Readable once a request has arrived.
    platform::NativeHandle requestHandle() const { return m_requested.waitHandle(); }
    // The kind of the first request taken ("lookup", "getattr", ...); empty while none came.
    std::string firstRequest() const;

    // Takes a request and leaves it unanswered (called by the session).
    void hold(fuse_req* request, const char* kind);

private:
    void serve();

    fuse_session* m_session = nullptr;
    std::string m_failure;
    platform::EventFlag m_stop;
    platform::EventFlag m_requested;
    mutable std::mutex m_lock; // guards m_firstRequest
    std::string m_firstRequest;
    std::vector<fuse_req*> m_held; // the serving thread's own
    std::thread m_thread;
};

} // namespace ordinalette::testsupport
