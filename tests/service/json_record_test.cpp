// Tests of JsonRecord: the token rules the installer reads service answers with, and the exact
// text of the records it writes.
#include "service/json_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tokens = std::vector<std::string>;

Tokens tokensOf(const std::string& text)
{
    JsonRecord record;
    EXPECT_TRUE(record.parse(text));
    return record.tokens();
}

TEST(JsonRecordParse, QuotedValuesComeOutWholeWithoutQuotes)
{
    JsonRecord answer;
    answer.parse(R"({"code":0,"data":"q1Zr+/9xYWJj=="})");
    EXPECT_EQ(answer.get("data", ""), "q1Zr+/9xYWJj==");

    JsonRecord info;
    info.parse(R"({ "downloadUrl" : "http://h.example:8080/a/b.exe?x=1" ,
                    "currVersion":"2.1.0"})");
    EXPECT_EQ(info.get("downloadUrl", ""), "http://h.example:8080/a/b.exe?x=1");
    EXPECT_EQ(info.get("currVersion", ""), "2.1.0");
}

TEST(JsonRecordParse, LiteralsAndNegativeNumbersGiveNoTokenAndShiftPairing)
{
    EXPECT_EQ(tokensOf(R"({"a":true,"b":"x"})"), (Tokens{"a", "b", "x"}));
    JsonRecord record;
    record.parse(R"({"a":true,"b":"x"})");
    EXPECT_EQ(record.get("a", "-"), "b");

    EXPECT_EQ(tokensOf(R"({"n":-5,"m":null,"k":7})"), (Tokens{"n", "m", "k", "7"}));
}

TEST(JsonRecordParse, NumbersAfterColonKeepTrailingSpacesAndDigitsElsewhereAreSkipped)
{
    EXPECT_EQ(tokensOf(R"({"a":12  ,"b":3})"), (Tokens{"a", "12  ", "b", "3"}));
    EXPECT_EQ(tokensOf(R"({"a": 	12})"), (Tokens{"a", "12"}));
    EXPECT_EQ(tokensOf("{1,2,\"z\"}"), (Tokens{"z"}));
}

TEST(JsonRecordParse, NestedBlocksComeOutRawAndCanBeParsedAgain)
{
    JsonRecord outer;
    outer.parse(R"({"data":{"url":"http://x/y","list":[1,[2]]},"after":"z"})");
    const std::string nested = outer.get("data", "");
    EXPECT_EQ(nested, R"({"url":"http://x/y","list":[1,[2]]})");
    EXPECT_EQ(outer.get("after", ""), "z");

    JsonRecord inner;
    inner.parse(nested);
    EXPECT_EQ(inner.get("url", ""), "http://x/y");
    EXPECT_EQ(inner.get("list", ""), "[1,[2]]");

    // An unbalanced block runs to the end of the inner text.
    EXPECT_EQ(tokensOf(R"({"a":{"b":1})"), (Tokens{"a", R"({"b":1)"}));
}

TEST(JsonRecordParse, BackslashesAreOrdinaryCharacters)
{
    // An escaped quote counts as a quote, and escapes stay as written.
    EXPECT_EQ(tokensOf(R"({"p":"C:\\dir\"x","q":"1"})"), (Tokens{"p", R"(C:\\dir\"x","q":"1)"}));
    EXPECT_EQ(tokensOf(R"({"u":"http:\/\/h\/p"})"), (Tokens{"u", R"(http:\/\/h\/p)"}));
}

TEST(JsonRecordParse, TextWithoutBracesOrTokensFallsBackToTheWholeText)
{
    EXPECT_EQ(tokensOf("<html><body>502 Bad Gateway</body></html>"),
              (Tokens{"<html><body>502 Bad Gateway</body></html>"}));
    EXPECT_EQ(tokensOf(R"(<a href="x">: 5</a>)"), (Tokens{"x", "5</a>"}));
    EXPECT_EQ(tokensOf("{}"), (Tokens{""}));
    EXPECT_EQ(tokensOf(""), (Tokens{""}));
    EXPECT_EQ(tokensOf("}x{"), (Tokens{""}));
    EXPECT_EQ(tokensOf(R"("open)"), (Tokens{""}));  // one quote: nothing between quotes

    JsonRecord page;
    page.parse("<html>error</html>");
    EXPECT_EQ(page.get("data", "fallback"), "fallback");
}

TEST(JsonRecordGet, FirstEqualTokenWinsAndTheLastTokenHasNoValue)
{
    JsonRecord record;
    record.parse(R"({"a":"b","b":"c","last":"a"})");
    EXPECT_EQ(record.get("a", ""), "b");
    EXPECT_EQ(record.get("b", ""), "b");  // the value "b" of "a" matches first
    EXPECT_EQ(record.get("missing", "fb"), "fb");

    JsonRecord tail;
    tail.parse(R"({"x":"1","key"})");
    EXPECT_EQ(tail.get("key", "fb"), "fb");

    record.parse(R"({"z":"9"})");  // parse replaces the earlier tokens
    EXPECT_EQ(record.get("a", "gone"), "gone");
}

TEST(JsonRecordSerialize, TelemetryRecordIsSixMembersWithoutWhitespace)
{
    JsonRecord record;
    record.add("deviceCode").setString("0123456789abcdef0123456789abcdef");
    record.add("version").setString("3.2.1");
    record.add("operateTime").setInt(1765170000);
    record.add("page").setString("install");
    record.add("latency").setInt(-42);
    record.add("operateName").setString("installEnd");
    EXPECT_EQ(record.serialize(1),
              R"({"deviceCode":"0123456789abcdef0123456789abcdef","version":"3.2.1",)"
              R"("operateTime":1765170000,"page":"install","latency":-42,)"
              R"("operateName":"installEnd"})");
}

TEST(JsonRecordSerialize, KindsItemsAndEmptyRecords)
{
    JsonRecord empty;
    EXPECT_EQ(empty.serialize(1), "{}");
    EXPECT_EQ(empty.serialize(0), "");
    EXPECT_EQ(empty.serialize(7), "[]");

    JsonRecord items;
    items.add("").setString("a");
    items.add("").setInt(-2147483647 - 1);
    items.add("k").setInt(0);
    EXPECT_EQ(items.serialize(2), R"(["a",-2147483648,"k":0])");
    EXPECT_EQ(items.serialize(0), R"("a",-2147483648,"k":0)");
}

TEST(JsonRecordSerialize, ValuesReadFromAnAnswerAreEchoedByteForByte)
{
    // The reader keeps escapes as written, so they are already valid string content: writing
    // them again unchanged is what lets the service decode the same value it sent.
    JsonRecord answer;
    answer.parse(R"({"currVersion":"5.0\/\u6d4b","note":"a\"b\\c"})");
    JsonRecord record;
    record.add("version").setString(answer.get("currVersion", ""));
    record.add("note").setString(answer.get("note", ""));
    EXPECT_EQ(record.serialize(1), R"({"version":"5.0\/\u6d4b","note":"a\"b\\c"})");

    JsonRecord raw;
    raw.add("v").setString(R"(1.0 "beta" C:\x)");
    EXPECT_EQ(raw.serialize(1), R"({"v":"1.0 "beta" C:\x"})") << "nothing is escaped";
}

}  // namespace
