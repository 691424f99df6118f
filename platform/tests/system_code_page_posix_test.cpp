#include "platform/code_page.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace ordinalette::platform {
namespace {

TEST(CodePage, SystemFollowsTheLocaleCodeset) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_EQ(CodePage::system().kind(), CodePage::Kind::Utf8);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(CodePage::system().kind(), CodePage::Kind::Utf8) << "names beyond ASCII are UTF-8";
    std::setlocale(LC_CTYPE, saved.c_str());
}

} // namespace
} // namespace ordinalette::platform
