#pragma once

#include "platform/os_handle.h"

#include <windows.h>

namespace ordinalette::platform {

inline HANDLE nativeHandle(NativeHandle native) {
    return reinterpret_cast<HANDLE>(native);
}

// The handle a system function returned, -1 for none: functions report a failure as
// INVALID_HANDLE_VALUE (files) or as null (events).
inline NativeHandle fromNative(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE || handle == nullptr
               ? -1
               : reinterpret_cast<NativeHandle>(handle);
}

} // namespace ordinalette::platform
