#include "packages/ListOrder.h"

#include <algorithm>
#include <clocale>

#include <gtest/gtest.h>

namespace wendmoor {
namespace {

using Lines = std::vector<std::string>;

struct OrderCase {
    const char* locale;  // the collation in effect (LC_COLLATE); ignored on Windows
    Lines expected;      // sorted; the test shuffles it first
};

// Every system has these: what the order is made of, apart from any language.
const OrderCase kOrderCases[] = {
    // Letter case only breaks ties, by bytes; punctuation counts and sorts before digits.
    {"C.UTF-8",
     {"A Troy.pak", "a troy.txt", "Beta.zip", "E Arena.map", "E Troy.set", "e troy.set",
      "E Troy1.map", "S save1.sav", "Z readme.doc"}},
    // Names that are not UTF-8 follow, by their bytes with A to Z folded.
    {"C.UTF-8",
     {"alpha.zip", "Zeus.zip", std::string("B\xff.zip"), std::string("b\xff.zip"),
      std::string("caf\xe9.zip"), std::string("\xc3\x28.zip"), std::string("\xed\xa0\x80.zip")}},
#ifndef _WIN32
    // The C locale orders by code points, beyond ASCII too, without regard to case.
    {"C.UTF-8",
     {"alpha.zip", "Zeus.zip", "\xc3\x84gypten.zip", "\xc3\xa4gypten.zip", "\xc3\x84h.zip",
      "\xc3\xa9mile.zip", "\xd0\xb4\xd0\xb0.zip", "\xd0\x94\xd0\xb1.zip"}},
#else
    // The user's locale, whatever it is, puts a letter with its accents beside its base letter.
    {"", {"agypten.zip", "\xc3\x84gypten.zip", "alpha.zip", "Beta.zip", "Zeus.zip"}},
#endif
};

void ExpectSorted(const Lines& expected) {
    Lines lines(expected.rbegin(), expected.rend());
    std::rotate(lines.begin(), lines.begin() + 1, lines.end());
    SortListLines(lines);
    EXPECT_EQ(lines, expected);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(ListLess(expected[i], expected[i + 1])) << i;
        EXPECT_FALSE(ListLess(expected[i + 1], expected[i])) << i;
    }
}

TEST(ListOrderTest, SortsByTheCollationCaseBlindAndBytesLast) {
    for (const OrderCase& order : kOrderCases) {
        SCOPED_TRACE(order.locale);
#ifndef _WIN32
        ASSERT_NE(std::setlocale(LC_COLLATE, order.locale), nullptr);
#endif
        ExpectSorted(order.expected);
    }
    std::setlocale(LC_COLLATE, "C");
}

#ifndef _WIN32
// The languages' own orders, where the system has their locales.
TEST(ListOrderTest, FollowsTheLanguageOfTheLocale) {
    const OrderCase cases[] = {
        // Letters beyond ASCII stand with their base letter.
        {"de_DE.UTF-8",
         {"agypten.zip", "\xc3\x84gypten.zip", "alpha.zip", "Beta.zip", "Emile.zip", "emile.zip",
          "\xc3\xa9mile.zip", "Zeus.zip"}},
        // Where the language puts them after Z, so does the list.
        {"sv_SE.UTF-8", {"alpha.zip", "Beta.zip", "Zeus.zip", "\xc3\x84gypten.zip"}},
    };
    int run = 0;
    for (const OrderCase& order : cases) {
        if (std::setlocale(LC_COLLATE, order.locale) == nullptr) continue;
        SCOPED_TRACE(order.locale);
        ExpectSorted(order.expected);
        ++run;
    }
    std::setlocale(LC_COLLATE, "C");
    if (run == 0) GTEST_SKIP() << "neither de_DE.UTF-8 nor sv_SE.UTF-8 is installed";
}
#endif

}  // namespace
}  // namespace wendmoor
