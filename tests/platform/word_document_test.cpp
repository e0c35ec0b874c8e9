// The .docx writer: escaping, a package that independent tools accept, pasting. Opening the
// file through the shell and the print preview are checked by the app's Word report tests.
#include "platform/word_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/clipboard.h"
#include "tests/documents/doc_test_support.h"

namespace {

using doc_test::HaveProgram;
using platform::Rgb;

// A report as the main window writes one: picture, bold title, coloured paragraphs, a
// table, text with characters that XML escapes or forbids.
platform::WordDocument Sample() {
    platform::WordDocument d;
    d.AddParagraph();
    QImage picture(70, 50, QImage::Format_RGB32);
    picture.fill(Qt::red);
    d.InsertPicture(picture);
    d.TypeText("\n");
    d.SetBold(true);
    d.SetFontSize(16);
    d.TypeText("Title <&> \"q\"\n");
    d.SetFontSize(10);
    d.SetColor(Rgb(255, 0, 0));
    d.TypeText("red bold\n");
    d.SetBold(false);
    d.SetColor(Rgb(0, 0, 255));
    d.TypeText(std::string("plain\x01\x1f blue \xC3\xA9\xFF") + "\n");
    const int t = d.AddTable(2, 2);
    d.SetCell(t, 1, 1, "a", true, Rgb(0, 128, 0));
    d.SetCell(t, 1, 2, "b", false, platform::kBlack);
    d.SetCell(t, 2, 1, "c", false, platform::kBlack);
    d.SetCell(t, 3, 1, "outside", false, platform::kBlack);
    d.TypeText("after\n");
    return d;
}

TEST(XmlText, EscapesMarkupAndDropsWhatXmlForbids) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"a<b>&\"'", "a&lt;b&gt;&amp;&quot;&apos;"},
        {std::string("x\x01y\x7f\t"), std::string("xy\x7f\t")},
        {"\xC3\xA9", "\xC3\xA9"},                  // é kept
        {"\xC3", ""},                              // cut sequence dropped
        {"\xC0\xAF", ""},                          // over-long form dropped
        {"\xEF\xBF\xBE\xEF\xBF\xBF!", "!"},        // U+FFFE, U+FFFF
        {"\xED\xA0\x80z", "z"},                    // surrogate
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},  // outside the basic plane kept
    };
    for (const auto& c : cases) EXPECT_EQ(platform::XmlText(c.in), c.out) << c.in;
}

TEST(WordDocumentTest, PackageIsAValidDocument) {
    doc_test::TempFolder dir;
    const std::string path = dir / "report.docx";
    std::string error;
    ASSERT_TRUE(Sample().Save(path, error)) << error;
    if (!HaveProgram("/usr/bin/unzip") || !HaveProgram("/usr/bin/xmllint") || !HaveProgram("/usr/bin/python3"))
        GTEST_SKIP() << "unzip, xmllint or python3 missing";
    int status = 0;
    const std::string listing = doc_test::Run("/usr/bin/unzip -t '" + path + "' 2>&1", status);
    EXPECT_EQ(status, 0) << listing;
    EXPECT_NE(listing.find("word/media/image1.png"), std::string::npos);
    for (const char* part : {"word/document.xml", "\\[Content_Types\\].xml", "word/_rels/document.xml.rels"}) {
        const std::string out =
            doc_test::Run("/usr/bin/unzip -p '" + path + "' '" + part + "' | /usr/bin/xmllint --noout - 2>&1", status);
        EXPECT_EQ(status, 0) << part << ": " << out;
    }
    const std::string checked =
        doc_test::Run("/usr/bin/python3 " + std::string(TABULON_SOURCE_DIR) + "/tests/platform/check_docx.py '" + path + "' 2>&1",
            status);
    if (checked.find("No module named 'docx'") != std::string::npos) GTEST_SKIP() << "python3-docx missing";
    EXPECT_EQ(status, 0) << checked;
    EXPECT_EQ(checked,
              "P|||\n"  // the paragraph added first
              "P|||\n"  // the picture's
              "P|Title <&> \"q\"|Title <&> \"q\"|000000\n"
              "P|red bold|red bold|FF0000\n"
              "P|plain blue \xC3\xA9||0000FF\n"
              "T|2|2|a,b,c,\n"
              "P|after||0000FF\n"
              "pictures 1\n");
}

TEST(WordDocumentTest, PasteTakesThePictureElseTheText) {
    platform::WordDocument d;
    platform::SetClipboardText("recipe\nline");
    d.Paste();
    ASSERT_EQ(d.Blocks().size(), 2u);
    EXPECT_EQ(d.Blocks()[0].runs[0].text, "recipe");
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    platform::SetClipboardImage(picture);
    d.Paste();
    EXPECT_EQ(d.Pictures().size(), 1u);
    std::string error;
    doc_test::TempFolder dir;
    EXPECT_FALSE(d.Save(dir / "missing/x.docx", error));
    EXPECT_FALSE(error.empty());
}

// Slow (it starts an office suite), so it runs only under the "optional" label:
// ctest -L optional.
TEST(WordDocumentTest, DISABLED_OfficeSuiteConvertsItToPdf) {
    if (!HaveProgram("/usr/bin/soffice")) GTEST_SKIP() << "soffice missing";
    doc_test::TempFolder dir;
    std::string error;
    ASSERT_TRUE(Sample().Save(dir / "report.docx", error)) << error;
    int status = 0;
    const std::string out = doc_test::Run("cd '" + dir.Path() + "' && HOME='" + dir.Path() +
                                    "' timeout 120 /usr/bin/soffice --headless --convert-to pdf report.docx 2>&1",
                                status);
    EXPECT_EQ(status, 0) << out;
    ASSERT_TRUE(std::filesystem::exists(dir / "report.pdf")) << out;
    EXPECT_GT(std::filesystem::file_size(dir / "report.pdf"), 1000u);
}

}  // namespace
