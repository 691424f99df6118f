#include "platform/temporary_file.h"

#include <random>

namespace ordinalette::platform {

namespace {

// Enough tries that only a folder deliberately filled with such names makes creation fail.
constexpr int kAttempts = 100;
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string randomSuffix(std::random_device& random) {
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i)
        suffix += kLetters[pick(random)];
    return suffix;
}

} // namespace

Result<TemporaryFile>
createUniqueFile(std::string_view besidePath,
                 const std::function<Result<FileHandle>(const std::string&)>& create) {
    // Unpredictable names: a name that others could guess would let them plant an entry there.
    std::random_device random;
    int lastError = error::AlreadyExists;
    for (int attempt = 0; attempt < kAttempts && lastError == error::AlreadyExists; ++attempt) {
        std::string path = std::string(besidePath) + randomSuffix(random);
        auto file = create(path);
        if (file.ok())
            return Result<TemporaryFile>::success({std::move(file.value), std::move(path)});
        lastError = file.error;
    }
    return Result<TemporaryFile>::failure(lastError);
}

} // namespace ordinalette::platform
