#pragma once

#include "engine/listing.h"
#include "platform/file_system.h"
#include "testsupport/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ordinalette::engine {

using Names = std::vector<std::string>;

// A temporary folder listed by the platform's own file system.
class ListingTest : public testing::Test {
protected:
    Names list(std::string_view mask = "*.*") {
        return listFiles(fileSystem, dir.path(), mask, collator);
    }

    testsupport::TempDir dir;
    platform::FileSystem& fileSystem = platform::systemFileSystem();
    platform::TextCollator collator{platform::CodePage::utf8()};
};

} // namespace ordinalette::engine
