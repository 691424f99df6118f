#include "testsupport/stopped_fuse_mount.h"

#define FUSE_USE_VERSION 35
#include <cerrno>
#include <cstdlib>
#include <fuse_lowlevel.h>

namespace ordinalette::testsupport {

namespace {

// Every operation that reads or looks: taken, never answered. Operations left out would be
// answered by the library itself ("not implemented"), and nobody would wait.
template <const char* kKind, typename... Arguments> void take(fuse_req_t request, Arguments...) {
    static_cast<StoppedFuseMount*>(fuse_req_userdata(request))->hold(request, kKind);
}

constexpr char kLookup[] = "lookup";
constexpr char kGetattr[] = "getattr";
constexpr char kReadlink[] = "readlink";
constexpr char kOpen[] = "open";
constexpr char kOpendir[] = "opendir";
constexpr char kReaddir[] = "readdir";
constexpr char kStatfs[] = "statfs";
constexpr char kAccess[] = "access";
constexpr char kGetxattr[] = "getxattr";
constexpr char kListxattr[] = "listxattr";

fuse_lowlevel_ops stoppedOperations() {
    fuse_lowlevel_ops operations{};
    operations.lookup = take<kLookup>;
    operations.getattr = take<kGetattr>;
    operations.readlink = take<kReadlink>;
    operations.open = take<kOpen>;
    operations.opendir = take<kOpendir>;
    operations.readdir = take<kReaddir>;
    operations.readdirplus = take<kReaddir>;
    operations.statfs = take<kStatfs>;
    operations.access = take<kAccess>;
    operations.getxattr = take<kGetxattr>;
    operations.listxattr = take<kListxattr>;
    return operations;
}

} // namespace

StoppedFuseMount::StoppedFuseMount(const std::string& mountPoint) {
    const fuse_lowlevel_ops operations = stoppedOperations();
    char program[] = "stopped";
    char options[] = "-ofsname=stopped,subtype=stopped";
    char* arguments[] = {program, options};
    fuse_args args = FUSE_ARGS_INIT(2, arguments);
    m_session = fuse_session_new(&args, &operations, sizeof operations, this);
    // The session may have copied the arguments to add its own.
    fuse_opt_free_args(&args);
    if (!m_session) {
        m_failure = "cannot start a FUSE session";
        return;
    }
    if (fuse_session_mount(m_session, mountPoint.c_str()) != 0) {
        m_failure = "cannot mount a FUSE file system at " + mountPoint;
        fuse_session_destroy(m_session);
        m_session = nullptr;
        return;
    }
    m_thread = std::thread([this] { serve(); });
}

StoppedFuseMount::~StoppedFuseMount() {
    if (!m_session)
        return;
    m_stop.set();
    m_thread.join();
    fuse_session_unmount(m_session);
    fuse_session_destroy(m_session);
}

std::string StoppedFuseMount::firstRequest() const {
    std::lock_guard lock(m_lock);
    return m_firstRequest;
}

void StoppedFuseMount::hold(fuse_req* request, const char* kind) {
    m_held.push_back(request);
    {
        std::lock_guard lock(m_lock);
        if (m_firstRequest.empty())
            m_firstRequest = kind;
    }
    m_requested.set();
}

void StoppedFuseMount::serve() {
    fuse_buf buffer{};
    for (;;) {
        std::size_t signalled = 0;
        const auto result = platform::waitForAny(
            {{m_stop.waitHandle()}, {fuse_session_fd(m_session)}}, std::nullopt, signalled);
        if (result != platform::WaitResult::Signalled || signalled == 0)
            break;
        // The kernel's greeting is answered by the session itself; every other request is held.
        if (fuse_session_receive_buf(m_session, &buffer) <= 0)
            break;
        fuse_session_process_buf(m_session, &buffer);
    }
    // The server answers at last, so that whoever waits on it goes on.
    for (fuse_req* request : m_held)
        fuse_reply_err(request, EIO);
    m_held.clear();
    std::free(buffer.mem);
}

} // namespace ordinalette::testsupport
