#include "storage/CommaList.h"

#include <gtest/gtest.h>

namespace {

struct CommaCase {
    QStringList list;
    QString text;
};

TEST(CommaList, WrittenFormsReadBack) {
    const CommaCase cases[] = {{{}, ""},
                               {{""}, "\"\""},
                               {{"0", "1", "2"}, "0,1,2"},
                               {{"a", ""}, "a,"},
                               {{"", "a"}, ",a"},
                               {{"/My Files/x.SVZ", "/b"}, "\"/My Files/x.SVZ\",/b"},
                               {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
                               {{"a,b", "c"}, "\"a,b\",c"},
                               {{"a\tb"}, "\"a\tb\""},
                               {{"検索語", "全角　空白"}, "検索語,全角　空白"}};
    for (const auto& [list, text] : cases) {
        EXPECT_EQ(CommaList::Join(list), text);
        EXPECT_EQ(CommaList::Split(text), list) << qPrintable(text);
    }
}

TEST(CommaList, HandEditedTextsSplitLeniently) {
    const CommaCase cases[] = {{{"a", "b"}, "  a ,  b  "},
                               {{"a", "b"}, "a b"},
                               {{"abc, d"}, "\"abc, d"},  // unterminated quote
                               {{"x", "y"}, "\"x\"y"},
                               {{"a"}, "a,   "},
                               {{"a", "b"}, QStringLiteral("\0a\r\n,b\x01")}};
    for (const auto& [list, text] : cases) {
        EXPECT_EQ(CommaList::Split(text), list) << qPrintable(text);
    }
}

}  // namespace
