#pragma once

#include <utility>

namespace ordinalette::platform {

// The Windows error numbers that the platform layer reports for failed operations, so that the
// message table of the input/output error applies unchanged on every platform. 0 is success.
namespace error {
inline constexpr int None = 0;
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int NotEnoughMemory = 8;
inline constexpr int InvalidData = 13;
inline constexpr int NotSameDevice = 17;
inline constexpr int GeneralFailure = 31;
inline constexpr int SharingViolation = 32;
inline constexpr int DiskFull = 112;
inline constexpr int InvalidName = 123;
inline constexpr int DirectoryNotEmpty = 145;
inline constexpr int AlreadyExists = 183;
inline constexpr int PathTooLong = 206;
inline constexpr int FileTooLarge = 223;
inline constexpr int DeviceIoError = 1117;
inline constexpr int CannotResolveName = 1921;
// No Windows number (bit 29 marks the numbers an application defines): a move that had to go
// through a second name could neither remove the old name nor take the new one back, so the
// file stays under both.
inline constexpr int LeftUnderBothNames = 0x20000001;
} // namespace error

// A value or the error number of the operation that should have produced it.
template <typename T> struct [[nodiscard]] Result {
    T value{};
    int error = error::None;

    bool ok() const { return error == error::None; }
    static Result failure(int errorNumber) { return Result{T{}, errorNumber}; }
    static Result success(T value) { return Result{std::move(value), error::None}; }
};

} // namespace ordinalette::platform
