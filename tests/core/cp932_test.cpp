#include "core/cp932.h"

#include <gtest/gtest.h>

using namespace orv;

TEST(Cp932, EncodesTheUnitAndSymbolTexts)
{
    EXPECT_EQ(Utf8ToCp932("\xCE\xBCm"), "\x83\xCA\x6D");     // μm
    EXPECT_EQ(Utf8ToCp932("\xC2\xB5m"), "\x83\xCA\x6D");     // µm: micro sign taken as mu
    EXPECT_EQ(Utf8ToCp932("\xC2\xB0"), "\x81\x8B");          // °
    EXPECT_EQ(Utf8ToCp932("\xE3\x8E\xA1"), "\x87\x75");      // ㎡
    EXPECT_EQ(Utf8ToCp932("\xCE\xA6"), "\x83\xB3");          // Φ
    EXPECT_EQ(Utf8ToCp932("(\xEF\xBE\x83\xEF\xBE\x9E\xEF\xBE\x8C\xEF\xBD\xAB\xEF\xBE\x99\xEF\xBE\x84)"),
              "(\xC3\xDE\xCC\xAB\xD9\xC4)");                 // (ﾃﾞﾌｫﾙﾄ)
    EXPECT_EQ(Utf8ToCp932("plain ascii \\~"), "plain ascii \\~");
}

TEST(Cp932, UnencodableAndMalformedInputBecomesQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp932("a\xE2\x82\xAC" "b"), "a?b");          // €
    EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80m"), "?m");           // emoji: one mark per character
    EXPECT_EQ(Utf8ToCp932("x\xFFy"), "x?y");                     // not UTF-8
    EXPECT_EQ(Utf8ToCp932("\xCE\xBC\xE3\x81"), "\x83\xCA?");     // truncated at the end
    EXPECT_EQ(Cp932ToUtf8("a\x83"), "a?");                       // lone lead byte at the end
    EXPECT_EQ(Cp932ToUtf8("\xFF" "m"), "?m");
}

TEST(Cp932, DecodesBackToUtf8)
{
    EXPECT_EQ(Cp932ToUtf8("\x83\xCA\x6D"), "\xCE\xBCm");
    EXPECT_EQ(Cp932ToUtf8("\x81\x8B"), "\xC2\xB0");
    const std::string japanese = "\xE4\xBF\x9D\xE5\xAD\x98";  // 保存
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(japanese)), japanese);
}

TEST(Cp932, ExternalTextAcceptsEitherEncoding)
{
    const std::string mu = "\xCE\xBCm";
    EXPECT_EQ(ExternalTextToUtf8("\x83\xCA\x6D"), mu);   // code page 932
    EXPECT_EQ(ExternalTextToUtf8(mu), mu);               // UTF-8
    EXPECT_EQ(ExternalTextToUtf8("\xC2\xB5m"), mu);      // UTF-8 micro sign
    EXPECT_EQ(ExternalTextToUtf8("um"), "um");
    // Half-width katakana in code page 932 is never mistaken for UTF-8.
    EXPECT_EQ(ExternalTextToUtf8("\xC3\xDE"), "\xEF\xBE\x83\xEF\xBE\x9E");
    EXPECT_EQ(FromExternalText(QByteArray("\x83\xCA\x6D")), QString::fromUtf8(mu));
    EXPECT_EQ(ToCp932(QString::fromUtf8("\xC2\xB5m")), QByteArray("\x83\xCA\x6D"));
}

TEST(Cp932, Utf8Validation)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\xCE\xBC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // truncated
    EXPECT_FALSE(IsValidUtf8("\x83\xCA\x6D"));
}

TEST(Cp932, StoredTextsReadBackUnchanged)
{
    // Code page 932 where it reads back as written; half-width katakana whose
    // code page 932 bytes form UTF-8 ("ﾎｬ" would read as "ά") stay UTF-8.
    const struct {
        std::string text;
        std::string stored;
    } cases[] = {
        {"\xCE\xBCm", "\x83\xCA\x6D"},                      // μm
        {"12.5", "12.5"},
        {"\xEF\xBE\x8E\xEF\xBD\xAC" "m", "\xEF\xBE\x8E\xEF\xBD\xAC" "m"},  // ﾎｬm
        {"\xEF\xBE\x90\xEF\xBD\xB8\xEF\xBE\x9B\xEF\xBE\x9D", "\xD0\xB8\xDB\xDD"},  // ﾐｸﾛﾝ
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Utf8ToExternalText(c.text), c.stored) << c.text;
        EXPECT_EQ(ExternalTextToUtf8(Utf8ToExternalText(c.text)), c.text) << c.text;
    }
}
