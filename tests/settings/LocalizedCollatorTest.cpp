#include "settings/LocalizedCollator.h"

#include <gtest/gtest.h>

namespace lumivoke {
namespace {

TEST(LocalizedCollatorTest, IgnoresCaseButNotLettersOrAccents) {
    const LocalizedCollator c;
    EXPECT_EQ(c.compare("notes", "Notes"), 0);
    EXPECT_EQ(c.compare("ÉCLAIR", "éclair"), 0);
    EXPECT_LT(c.compare("notes", "Pages"), 0);
    EXPECT_LT(c.compare("Notes", "pages"), 0);
    EXPECT_GT(c.compare("zebra", "Apple"), 0);
    EXPECT_NE(c.compare("resume", "résumé"), 0);
    // Letters come in alphabet order, not byte order: "é" sorts next to "e", before "f".
    EXPECT_LT(c.compare("émile", "fred"), 0);
    EXPECT_LT(c.compare("", "a"), 0);
}

}  // namespace
}  // namespace lumivoke
