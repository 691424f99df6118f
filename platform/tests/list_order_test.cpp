#include "platform/list_order.h"

#include <gtest/gtest.h>

namespace ordinalette::platform {
namespace {

TEST(ListOrder, SortsIgnoringCaseThenByBytesAndComparesTheSame) {
    const TextCollator collator(CodePage::system());
    std::vector<std::string> names = {"b.jpg", "a2.jpg", "a.jpg", "B.jpg", "A.jpg", "a1.jpg"};
    sortInListOrder(names, collator);
    EXPECT_EQ(names,
              (std::vector<std::string>{"A.jpg", "a.jpg", "a1.jpg", "a2.jpg", "B.jpg", "b.jpg"}));
    for (std::size_t i = 1; i < names.size(); ++i) {
        EXPECT_LT(compareInListOrder(names[i - 1], names[i], collator), 0) << names[i];
        EXPECT_GT(compareInListOrder(names[i], names[i - 1], collator), 0) << names[i];
    }
    EXPECT_EQ(compareInListOrder("a.jpg", "a.jpg", collator), 0);
}

} // namespace
} // namespace ordinalette::platform
