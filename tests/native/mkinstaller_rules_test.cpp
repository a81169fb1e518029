// The portable rules of mkinstaller: file names, Windows-1252 texts and the
// product record the installer reads back.
#include <gtest/gtest.h>

#include <string>

#include "common/product_record.h"
#include "common/cp1252.h"
#include "tools/mkinstaller/command_check.h"
#include "tools/mkinstaller/name_rules.h"
#include "tools/mkinstaller/setup_resources.h"

namespace {

struct NameCase {
    const char* name;
    bool accepted;
};

// How the tool reports a refused name is checked through it; these are the rules.
const NameCase NameCases[] = {
    {"read me.txt", true}, {"CONFIG.SYS", true},  // starts like CON but is not it
    {"COM10.txt", true},   {"LPT0", true},        // only COM1..COM9 and LPT1..LPT9 are devices
    {".profile", true},    {"caf\xE9.txt", true}, {"", false},           {"..", false},
    {"del\x7F", false},    {"what?.txt", false},  {"star*.txt", false},  {"a<b", false},
    {"a|b", false},        {"say\"hi\"", false},  {"CON", false},        {"Nul.tar.gz", false},
    {"aux .txt", false},   {"PRN", false},        {"com9.log", false},   {"LPT1", false},
    {"COM\xB9", false},    {"lpt\xB3.txt", false}, {"COM\xBC", true},      // superscript 1 and 3 are digits; 1/4 is not
    {"CONIN$", false},     {"conout$.log", false}, {"c:x.txt", false},    {"a..txt", false},
    {"bell\x07", false},   {"readme.", false},     {"readme.txt ", false},
};

class FileNames : public testing::TestWithParam<NameCase> {};

TEST_P(FileNames, AreAcceptedOnlyWhenWindowsCanCreateThem) {
    const NameCase& c = GetParam();
    EXPECT_EQ(FileNameProblem(c.name).empty(), c.accepted) << "'" << c.name << "': " << FileNameProblem(c.name);
}

INSTANTIATE_TEST_SUITE_P(Table, FileNames, testing::ValuesIn(NameCases));

struct Cp1252Case {
    const char* utf8;
    const char* bytes;      // expected bytes, or null when refused
    uint32_t badCodePoint;  // expected first bad character otherwise
};

// Bytes from the published Windows-1252 table.
const Cp1252Case Cp1252Cases[] = {
    {"caf\u00E9 \u00FF\u00A0", "caf\xE9 \xFF\xA0", 0},
    // Every byte 0x80..0x9F the code page defines; the five others have no character.
    {"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018\u2019\u201C\u201D\u2022"
     "\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178",
     "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F", 0},
    {"a\u0081b", nullptr, 0x81}, {"\u008D", nullptr, 0x8D}, {"\u008F", nullptr, 0x8F}, {"\u0090", nullptr, 0x90}, {"\u009D", nullptr, 0x9D},
    {"x\u0100", nullptr, 0x100},
    {"ok \U0001F600", nullptr, 0x1F600},
};

class Cp1252Conversion : public testing::TestWithParam<Cp1252Case> {};

TEST_P(Cp1252Conversion, MapsEveryCharacterOrNamesTheFirstThatHasNoByte) {
    const Cp1252Case& c = GetParam();
    const Cp1252Result result = Utf8ToCp1252(c.utf8);
    ASSERT_EQ(result.ok, c.bytes != nullptr);
    if (c.bytes) {
        EXPECT_EQ(result.text, c.bytes);
        EXPECT_EQ(Cp1252ToUtf8(result.text), c.utf8) << "messages must show the text as written";
    } else {
        EXPECT_EQ(result.badCodePoint, c.badCodePoint);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1252Conversion, testing::ValuesIn(Cp1252Cases));

TEST(UpperCp1252, UpperCasesAccentedLettersLikeResourceNames) {
    EXPECT_EQ(UpperCp1252("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // š œ ž ÿ
    EXPECT_EQ(UpperCp1252("\xF7\xDF\xB5"), "\xF7\xDF\xB5");          // ÷ ß µ have no upper case here
}

// What mkinstaller writes the installer reads back, a row kept on reinstall
// with its mark; a record cut short or with anything after its end is refused.
TEST(ProductRecordFormat, ReadsBackWhatIsWrittenAndRefusesDamage) {
    ProductManifest manifest;
    manifest.name = "Demo";
    manifest.group = "Demo Group";
    manifest.description = {"one", "two"};
    manifest.files = {{"A.EXE", "", {}}, {"caf\xE9.txt", "", {}, true}};
    const std::string record = ProductRecord(manifest);
    ProductRecordView view;
    ASSERT_TRUE(ParseProductRecord(record.data(), record.size(), &view));
    EXPECT_STREQ(view.texts[0], "Demo");
    EXPECT_STREQ(view.texts[4], "one\ntwo");
    EXPECT_EQ(view.rows, 2u);
    const char* stored = view.firstName;
    for (const auto& [name, kept] : {std::pair{"A.EXE", false}, std::pair{"caf\xE9.txt", true}}) {
        const ProductRow row = ReadProductRow(&stored);
        EXPECT_STREQ(row.name, name);
        EXPECT_EQ(row.keepExisting, kept) << name;
    }
    for (const std::string& damaged : {record.substr(0, record.size() - 1), record + '\0', record + "x", std::string()}) {
        EXPECT_FALSE(ParseProductRecord(damaged.data(), damaged.size(), &view)) << damaged.size();
    }
}

// SOURCE_DATE_EPOCH: seconds since 1970 in digits, or refused by name.
TEST(SourceDateEpoch, IsSecondsSince1970) {
    const struct {
        const char* value;
        std::optional<uint64_t> fileTime;
        bool refused;
    } cases[] = {
        {nullptr, std::nullopt, false},
        {"", std::nullopt, false},
        {"0", 116444736000000000ULL, false},
        {"1714564800", 133590384000000000ULL, false},
        {"-5", std::nullopt, true},
        {"12x", std::nullopt, true},
        {" 12", std::nullopt, true},
        {"9999999999999", std::nullopt, true},
    };
    for (const auto& c : cases) {
        ProblemList problems;
        EXPECT_EQ(ReadSourceDateEpoch(c.value, problems), c.fileTime) << (c.value ? c.value : "unset");
        EXPECT_EQ(problems.Empty(), !c.refused) << (c.value ? c.value : "unset");
    }
}

}  // namespace
