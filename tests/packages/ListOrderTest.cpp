#include "packages/ListOrder.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace wendmoor {
namespace {

using Lines = std::vector<std::string>;

struct OrderCase {
    const char* locale;  // the collation in effect, as a Qt locale name
    Lines expected;      // sorted; the test shuffles it first
};

const OrderCase kOrderCases[] = {
    // Letters beyond ASCII stand with their base letter; letter case only breaks ties, by bytes.
    {"de_DE",
     {"agypten.zip", "\xc3\x84gypten.zip", "alpha.zip", "Beta.zip", "Emile.zip", "emile.zip",
      "\xc3\xa9mile.zip", "Zeus.zip"}},
    // Where the language puts them after Z, so does the list.
    {"sv_SE", {"alpha.zip", "Beta.zip", "Zeus.zip", "\xc3\x84gypten.zip"}},
    // The C locale has no collation of its own: the default Unicode order, not code points.
    {"C", {"\xc3\x84gypten.zip", "alpha.zip", "\xc3\xa9mile.zip", "Zeus.zip"}},
    // Punctuation counts and sorts before digits; content lines keep their prefix groups.
    {"en_US",
     {"A Troy.pak", "A Troy.txt", "E Arena.map", "E Troy.set", "E Troy1.map", "S save1.sav",
      "Z readme.doc"}},
    // Names that are not UTF-8 follow, by their bytes with A to Z folded.
    {"de_DE",
     {"alpha.zip", "Zeus.zip", std::string("B\xff.zip"), std::string("b\xff.zip"),
      std::string("caf\xe9.zip"), std::string("\xc3\x28.zip")}},
};

TEST(ListOrderTest, SortsByTheLocalesCollationCaseBlindAndBytesLast) {
    for (const OrderCase& order : kOrderCases) {
        SCOPED_TRACE(order.locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(order.locale)));
        Lines lines(order.expected.rbegin(), order.expected.rend());
        std::rotate(lines.begin(), lines.begin() + 1, lines.end());
        SortListLines(lines);
        EXPECT_EQ(lines, order.expected);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            EXPECT_TRUE(ListLess(order.expected[i], order.expected[i + 1])) << i;
            EXPECT_FALSE(ListLess(order.expected[i + 1], order.expected[i])) << i;
        }
    }
    QLocale::setDefault(QLocale::system());
}

}  // namespace
}  // namespace wendmoor
