#include "platform/posix/errno_mapping.h"

#include "platform/error_number.h"

#include <cerrno>

namespace ordinalette::platform {

int windowsErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return error::None;
    case ENOENT:
        return error::FileNotFound;
    case ENOTDIR:
        return error::PathNotFound;
    case EMFILE:
    case ENFILE:
        return error::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return error::AccessDenied;
    case ENOMEM:
        return error::NotEnoughMemory;
    case EXDEV:
        return error::NotSameDevice;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return error::SharingViolation;
    case ENOSPC:
    case EDQUOT:
        return error::DiskFull;
    case EINVAL:
    case EILSEQ:
        return error::InvalidName;
    case ENOTEMPTY:
        return error::DirectoryNotEmpty;
    case EEXIST:
        return error::AlreadyExists;
    case ENAMETOOLONG:
        return error::PathTooLong;
    case EIO:
        return error::DeviceIoError;
    case ELOOP:
        return error::CannotResolveName;
    default:
        return error::GeneralFailure;
    }
}

} // namespace ordinalette::platform
