#pragma once

namespace ordinalette::platform {

// The Windows error number that names the same failure as a POSIX errno value.
int windowsErrorFromErrno(int errnoValue);

} // namespace ordinalette::platform
