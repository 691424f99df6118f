#include "engine/in_out_error.h"
#include "platform/error_number.h"

#include <gtest/gtest.h>

namespace ordinalette::engine {
namespace {

TEST(EInOutError, MessageIsChosenByCode) {
    const std::pair<int, const char*> cases[] = {
        {2, "ファイルが見つかりません"},
        {3, "不正なファイル名です"},
        {4, "オープンしたファイルが多すぎます"},
        {5, "ファイルへのアクセスが拒否されました"},
        {100, "ファイルの末尾以降を読み込みました"},
        {101, "ディスクがいっぱいです"},
        {106, "入力値が数値ではありません"},
        {183, "I/O エラー (183)"},
        {platform::error::LeftUnderBothNames, "ファイルが元の名前と新しい名前の両方に残っています"},
        {0, "I/O エラー (0)"},
        {-1, "I/O エラー (-1)"},
    };
    for (const auto& [code, message] : cases) {
        const EInOutError error(code);
        EXPECT_EQ(error.code(), code);
        EXPECT_STREQ(error.what(), message);
    }
}

} // namespace
} // namespace ordinalette::engine
