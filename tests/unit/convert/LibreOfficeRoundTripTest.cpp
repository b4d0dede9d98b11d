// LibreOffice as the reader of our documents: for every shipped code set, random texts go
// through BuildRtf with entities off and on, all documents are converted to UTF-8 text in one
// soffice run, and each must read back as the text it was made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TableUnits.h"
#include "TestPaths.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/DataDirectory.h"
#include "codeset/EntityFlags.h"
#include "codeset/EntityTable.h"
#include "convert/BuildRtf.h"
#include "convert/ConvertedText.h"
#include "platform/Utf8.h"

namespace {

// Units of the two documents per code set and entity setting: one below the size from
// which the writer takes its path for large texts, one above it. Many texts go into one
// document, since each document costs LibreOffice more than its text.
constexpr std::size_t kShortDocumentUnits = 3000;
constexpr std::size_t kLongDocumentUnits = 4500;
// soffice (7.4) reads at most 255 arguments and quietly drops the documents beyond them.
constexpr std::size_t kDocumentsPerRun = 200;

// A character a text may hold: LibreOffice keeps no C0 control other than tab and line
// ends, and U+2029 is a paragraph end to it.
bool Usable(char16_t unit) {
    return unit >= 0x20 && unit != 0x7F && unit != 0x2029 && (unit < 0xD800 || unit > 0xDFFF);
}

// The characters of the code set's tables, so that texts hold its own repertoire.
std::u16string Repertoire(const CodeSet& codeSet) {
    std::u16string units = TableUnits(codeSet);
    units.erase(std::remove_if(units.begin(), units.end(),
                               [](char16_t unit) { return !Usable(unit) || unit == 0xFFFF; }),
                units.end());
    // The UTF code sets hold every character: Latin-1, Greek, CJK.
    if (units.empty()) {
        for (char16_t unit = 0xA0; unit < 0x3FF; ++unit)
            units += unit;
        for (char16_t unit = 0x4E00; unit < 0x4F00; ++unit)
            units += unit;
    }
    return units;
}

class TextMaker {
public:
    TextMaker(const std::u16string& repertoire, unsigned seed)
        : repertoire_(repertoire), random_(seed) {}

    // ASCII words, the code set's characters, characters from other scripts, U+FFFF,
    // characters above U+FFFF, markup characters, tabs and every kind of line end.
    std::u16string Make() {
        std::u16string text;
        for (int n = static_cast<int>(random_() % 24); n > 0; --n) {
            switch (random_() % 10) {
                case 0:
                case 1:
                    for (int k = 1 + static_cast<int>(random_() % 6); k > 0; --k)
                        text += static_cast<char16_t>(0x21 + random_() % 0x5E);
                    break;
                case 2:
                    // Never two blanks in a row: LibreOffice reads a run of them as
                    // alternating U+2006 and blanks.
                    if (text.empty() || text.back() != u' ')
                        text += u' ';
                    break;
                case 3:
                case 4:
                    text += repertoire_[random_() % repertoire_.size()];
                    break;
                case 5: {
                    static const char16_t kOthers[][2] = {
                        {0x0100, 0x0180}, {0x0391, 0x03C9}, {0x0410, 0x044F}, {0x05D0, 0x05EA},
                        {0x0627, 0x064A}, {0x3041, 0x3096}, {0x4E00, 0x9FA5}, {0xAC00, 0xD7A3},
                        {0x2010, 0x2027}, {0x20A0, 0x20BF}, {0xFF01, 0xFF5E}, {0xE000, 0xE0FF}};
                    const auto& range = kOthers[random_() % (sizeof kOthers / sizeof kOthers[0])];
                    text += static_cast<char16_t>(range[0] + random_() % (range[1] - range[0] + 1));
                    break;
                }
                case 6: {
                    static const char32_t kAbove[] = {0x1F600, 0x1F44D, 0x20000, 0x2A6D6,
                                                      0x1D11E, 0x10348, 0x10FFFD};
                    const char32_t c = kAbove[random_() % (sizeof kAbove / sizeof kAbove[0])];
                    text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                    text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
                    break;
                }
                case 7:
                    text += u"\\{}"[random_() % 3];
                    break;
                case 8: {
                    static const char16_t* const kLineEnds[] = {u"\t", u"\r", u"\n", u"\r\n",
                                                                u"\x2028"};
                    text += kLineEnds[random_() % 5];
                    break;
                }
                default:
                    text += u"\xFFFF&<\"'?"[random_() % 6];
                    break;
            }
        }
        return text;
    }

private:
    const std::u16string& repertoire_;
    std::mt19937 random_;
};

// What LibreOffice's text export should give for the text: a paragraph per line, each
// carriage return (alone or before a line feed) is a paragraph end, and the last paragraph
// ends in a line feed too.
std::string ExpectedExport(const std::u16string& text) {
    std::u16string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            lines += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            lines += text[i];
        }
    }
    if (lines.empty() || lines.back() != u'\n')
        lines += u'\n';
    return Utf16ToUtf8(lines);
}

// The export without its byte order mark.
std::string ReadExport(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    return bytes;
}

struct Document {
    std::string name;
    std::string expected;
    int texts = 0;
};

TEST(LibreOfficeRoundTrip, EveryShippedCodeSetReadsBackAsItsText) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice is not installed";
    const std::string dir = MakeTempDirectory("libreoffice");
    const std::string in = dir + "in";
    const std::string out = dir + "out";
    std::filesystem::create_directories(in);
    std::filesystem::create_directories(out);

    std::vector<std::string> tables;
    for (const auto& entry : std::filesystem::directory_iterator(DataDirectoryForTests())) {
        if (entry.path().extension() == ".okc")
            tables.push_back(entry.path().string());
    }
    std::sort(tables.begin(), tables.end());
    ASSERT_FALSE(tables.empty());

    SetDataDirectory(DataDirectoryForTests());
    EntityTable::Global().Clear();
    std::vector<Document> documents;
    int texts = 0;
    for (const std::string& path : tables) {
        CodeSetHolder holder;
        ASSERT_EQ(holder.Load(path), CodeSetResult::Ok) << path;
        const std::u16string repertoire = Repertoire(*holder.codeSet);
        TextMaker maker(repertoire, static_cast<unsigned>(std::hash<std::string>()(holder.name)));
        for (bool entities : {false, true}) {
            for (std::size_t units : {kShortDocumentUnits, kLongDocumentUnits}) {
                ConvertedText text;
                text.codeSetHolder = &holder;
                text.encodeFlags = entities ? static_cast<std::int32_t>(ConversionEntityFlags) : 0;
                int count = 0;
                for (; text.unicode.size() < units; ++count)
                    text.unicode += maker.Make() + u"\n";
                Document document;
                document.name = std::filesystem::path(path).stem().string() +
                                (entities ? "-entities-" : "-plain-") + std::to_string(units);
                document.expected = ExpectedExport(text.unicode);
                document.texts = count;
                ASSERT_TRUE(
                    WriteFileBytes(in + "/" + document.name + ".rtf", BuildRtf(text, 1033)));
                documents.push_back(document);
                texts += count;
            }
        }
    }

    // As few runs as soffice allows, with a profile of their own so that no user's state
    // (or lack of a home folder) matters.
    for (std::size_t first = 0; first < documents.size(); first += kDocumentsPerRun) {
        std::string command = "soffice -env:UserInstallation=file://" + dir +
                              "profile --headless --convert-to 'txt:Text (encoded):UTF8' "
                              "--outdir '" +
                              out + "'";
        for (std::size_t k = first; k < documents.size() && k < first + kDocumentsPerRun; ++k)
            command += " '" + in + "/" + documents[k].name + ".rtf'";
        command += " >'" + dir + "soffice.log' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(dir + "soffice.log");
    }

    int failures = 0;
    for (const Document& document : documents) {
        const std::string exported = out + "/" + document.name + ".txt";
        const std::string got = ReadExport(exported);
        if (got == document.expected)
            continue;
        if (++failures > 10)
            continue;
        if (!std::filesystem::exists(exported)) {
            ADD_FAILURE() << "soffice wrote no " << exported;
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(
            std::mismatch(got.begin(), got.begin() + std::min(got.size(), document.expected.size()),
                          document.expected.begin())
                .first -
            got.begin());
        const std::size_t from = at > 20 ? at - 20 : 0;
        ADD_FAILURE() << document.name << ".rtf reads back differently from byte " << at
                      << ":\n  read back: " << got.substr(from, 60)
                      << "\n  text:      " << document.expected.substr(from, 60);
    }
    EXPECT_EQ(failures, 0);
    std::printf("%d texts in %zu documents of %zu code sets\n", texts, documents.size(),
                tables.size());
}

}  // namespace
