// The rich-text reader and writer give back any name or comment exactly and survive hostile documents.
// Also the document shape the game writes and documents from other editors.
#include "records/rtf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace squeakrun {
namespace {

std::string roundTrip(std::string_view text) {
    return rtfToText(textToRtf(text));
}

// The part of a written document between "\b " and the closing "\r\n\par }\r\n".
std::string body(std::string_view text) {
    const std::string document = textToRtf(text);
    const std::size_t start = document.find("\\b ") + 3;
    return document.substr(start, document.size() - start - std::string_view("\r\n\\par }\r\n").size());
}

TEST(RtfWriter, WritesTheRecordDocumentShape) {
    EXPECT_EQ(textToRtf("310"), "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
                                "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}}\r\n"
                                "{\\colortbl\\red0\\green0\\blue0;}\r\n"
                                "\\deflang1033\\pard\\plain\\f2\\fs20\\b 310\r\n"
                                "\\par }\r\n");
}

TEST(RtfWriter, EscapesMarkupAndEverythingBeyondPrintableAscii) {
    EXPECT_EQ(body("{a}\\"), "\\{a\\}\\\\");
    EXPECT_EQ(body("a\tb"), "a\\tab b");
    EXPECT_EQ(body("a\r\nb"), "a\\par\r\nb");
    EXPECT_EQ(body("\u00e9"), "\\u233?");
    EXPECT_EQ(body("\ud55c"), "\\u-10916?");              // U+D55C: 54620 - 65536
    EXPECT_EQ(body("\U0001F600"), "\\u-10179?\\u-8704?"); // U+1F600 as D83D DE00
    EXPECT_EQ(body("\n\r\x01"), "\\u10?\\u13?\\u1?");
}

TEST(RtfRoundTrip, AnyNameOrCommentComesBackExactly) {
    std::string longName;
    while (longName.size() < 500)
        longName += "Zo\u00eb {\\} ";
    // Blanks, markup characters, line breaks of every kind, controls, non-ASCII and emoji.
    // clang-format off
    const std::vector<std::string> texts = {
        "", " ", "   ", "  77 points  ", "310", std::string(500, 'm'), longName,
        "Zo\u00eb \u00d1and\u00fa", "\u9f20 \ud55c", "\U0001F42D\U0001F3C6 wins", "\U0010FFFF\uFFFF\uD7FF",
        "{", "}", "\\", "{\\rtf1 not markup}", "\\par \\u233? ?",
        "\t", "a\tb\t", "line\r\nbreak", "\r\n", "ends with a break\r\n", "\r\n\r\n",
        "lone\nLF", "lone\rCR", "\r\r\n\n", std::string("nul\0byte", 8), "\x01\x1f\x7f", "\u00a0nbsp\uFEFF"};
    // clang-format on
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const std::string document = textToRtf(text);
        for (const char c : document)
            ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "documents are 7-bit";
        EXPECT_EQ(rtfToText(document), text);
    }
    // Bytes that are not UTF-8 are written as U+FFFD.
    EXPECT_EQ(roundTrip("a\xFFz"), "a\uFFFDz");
}

TEST(RtfReader, ReadsDocumentsOfOtherEditors) {
    struct Case {
        std::string document;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
         "{\\f1\\fswiss Arial;}}\r\n{\\*\\generator WordProc 10.0.19041}\\viewkind4\\uc1 \r\n"
         "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Ren\\'e9e\\par\r\n}\r\n",
         "Ren\u00e9e"},
        // The 0x80-0x9F row of 1252, also in a document that claims Latin-1.
        {"{\\rtf1\\ansi \\'93Hi\\'94\\'85 \\'80\\'9f}", "\u201cHi\u201d\u2026 \u20ac\u0178"},
        {"{\\rtf1\\ansi\\ansicpg28591 caf\\'e9 \\'80}", "caf\u00e9 \u20ac"},
        {"{\\rtf1 caf\\u233?}", "caf\u00e9"},
        {"{\\rtf1\\uc2 caf\\u233\\'c3\\'a9!}", "caf\u00e9!"},
        {"{\\rtf1\\uc0 \\u233 t\\u233 }", "\u00e9t\u00e9"},
        // \uc holds for its group only.
        {"{\\rtf1 {\\uc2 \\u233 ab}\\u233 cd}", "\u00e9\u00e9d"},
        {"{\\rtf1 \\u-10916?\\u-10179?\\u-8704?}", "\ud55c\U0001F600"},
        // A half of a surrogate pair without its partner.
        {"{\\rtf1 \\u-10179?x\\u-8704?}", "\uFFFDx\uFFFD"},
        {"{\\rtf1{\\*\\generator Editor 5.41;}{\\*\\unknown {\\nested x}{\\*\\deeper y}}Hi{\\info{\\title T}"
         "{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\pict\\pngblip 89504e47}{\\colortbl;\\red255;}!}",
         "Hi!"},
        {"{\\rtf1 a\\{b\\}c\\\\d\\~e\\tab f\\line g}", "a{b}c\\d\u00a0e\tf\r\ng"},
        // One space ends a control word; raw line breaks of the file are not text.
        {"{\\rtf1\\b  two\r\n words\\par\r\n}", " two words"},
        // Only the closing paragraph mark is dropped.
        {"{\\rtf1 a\\par\\par}", "a\r\n"},
        {"{\\rtf1 x}after the document", "x"},
        // Files of plain text.
        {"310\r\n", "310"},
        {"  77 points", "  77 points"},
        {"Ren\xE9"
         "e\n",
         "Ren\u00e9e"},
        {"\uFEFF42", "42"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        EXPECT_EQ(rtfToText(c.document), c.text);
    }
}

TEST(RtfReader, SurvivesMalformedDocuments) {
    EXPECT_EQ(rtfToText("{\\rtf1 {\\b abc"), "abc");
    const std::string deep =
        "{\\rtf1 " + std::string(10000, '{') + "{\\*\\x hidden}shown" + std::string(10000, '}');
    EXPECT_EQ(rtfToText(deep + "}"), "shown");
    EXPECT_EQ(rtfToText(deep + std::string(200000, '{')), "shown");
    // Huge numbers: an out-of-range \u is U+FFFD, a huge \uc skips the rest of the group.
    EXPECT_EQ(rtfToText("{\\rtf1 \\u99999999999999999999999?a\\uc99999999999999999 \\u65 bcd}"), "\uFFFDaA");
    // \bin data is skipped whatever it holds, and never past the end.
    EXPECT_EQ(rtfToText("{\\rtf1 a\\bin4 {}}\\b}"), "ab");
    EXPECT_EQ(rtfToText("{\\rtf1 a\\bin-5 c}"), "ac");
    EXPECT_EQ(rtfToText("{\\rtf1 a\\bin99999999999999 xyz}"), "a");
    for (const char* truncated :
         {"{\\rtf1 a\\", "{\\rtf1 a\\'", "{\\rtf1 a\\'4", "{\\rtf1 a\\u", "{\\rtf1 a\\uc"})
        EXPECT_EQ(rtfToText(truncated), "a") << truncated;
}

} // namespace
} // namespace squeakrun
