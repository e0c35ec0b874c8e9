#include "platform/word_document.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <QTextDocument>

#include <unistd.h>

#include "platform/clipboard.h"
#include "platform/scripted_dialogs.h"

namespace {

using platform::Rgb;

// Output of a shell command, with its exit status.
std::string Shell(const std::string& command, int& status) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe.get())) out += buffer.data();
    status = pclose(pipe.release());
    return out;
}

bool Have(const std::string& tool) { return std::filesystem::exists(tool); }

class WordDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("tabulon_docx_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        platform::SetPrintPreviewRunner(nullptr);
    }

    // A report as the main window writes one: picture, bold title, coloured paragraphs, a
    // table, text with characters that XML escapes or forbids.
    static platform::WordDocument Sample() {
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

    std::filesystem::path dir_;
};

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

TEST_F(WordDocumentTest, PackageIsAValidDocument) {
    const std::string path = (dir_ / "report.docx").string();
    std::string error;
    ASSERT_TRUE(Sample().Save(path, error)) << error;
    if (!Have("/usr/bin/unzip") || !Have("/usr/bin/xmllint") || !Have("/usr/bin/python3"))
        GTEST_SKIP() << "unzip, xmllint or python3 missing";
    int status = 0;
    const std::string listing = Shell("/usr/bin/unzip -t '" + path + "'", status);
    EXPECT_EQ(status, 0) << listing;
    EXPECT_NE(listing.find("word/media/image1.png"), std::string::npos);
    for (const char* part : {"word/document.xml", "\\[Content_Types\\].xml", "word/_rels/document.xml.rels"}) {
        const std::string out =
            Shell("/usr/bin/unzip -p '" + path + "' '" + part + "' | /usr/bin/xmllint --noout -", status);
        EXPECT_EQ(status, 0) << part << ": " << out;
    }
    const std::string checked =
        Shell("/usr/bin/python3 " + std::string(TABULON_SOURCE_DIR) + "/tests/platform/check_docx.py '" + path + "'",
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

TEST_F(WordDocumentTest, OpensTheWrittenFileAndPreviewsTheSameContent) {
    platform::ScriptedDialogs dialogs;
    std::string error;
    const std::string path = platform::OpenWordDocument(Sample(), error);
    ASSERT_FALSE(path.empty()) << error;
    ASSERT_EQ(dialogs.CountOf("shell"), 1);
    EXPECT_EQ(dialogs.shown.back().text, path);
    EXPECT_EQ(std::filesystem::path(path).extension(), ".docx");
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);

    dialogs.shellAnswers.push_back(false);
    EXPECT_TRUE(platform::OpenWordDocument(Sample(), error).empty());
    EXPECT_FALSE(error.empty());

    std::string previewed;
    platform::SetPrintPreviewRunner([&previewed](QTextDocument& d) { previewed = d.toPlainText().toStdString(); });
    platform::ShowPrintPreview(Sample());
    EXPECT_NE(previewed.find("red bold"), std::string::npos);
    EXPECT_NE(previewed.find("after"), std::string::npos);
}

TEST_F(WordDocumentTest, PasteTakesThePictureElseTheText) {
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
    EXPECT_FALSE(d.Save((dir_ / "missing" / "x.docx").string(), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
