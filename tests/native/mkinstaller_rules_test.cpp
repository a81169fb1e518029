// The portable rules of mkinstaller: file names, Windows-1252 texts, the C
// literals of the generated manifest and Windows file times.
#include <gtest/gtest.h>

#include <string>

#include "codegen.h"
#include "cp1252.h"
#include "file_time.h"
#include "folder_rule.h"
#include "name_rules.h"

namespace {

struct NameCase {
    const char* name;
    bool accepted;
};

class FileNames : public testing::TestWithParam<NameCase> {};

TEST_P(FileNames, AreAcceptedOnlyWhenWindowsCanCreateThem) {
    const NameCase& c = GetParam();
    EXPECT_EQ(FileNameProblem(c.name).empty(), c.accepted) << "'" << c.name << "': " << FileNameProblem(c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileNames,
    testing::Values(NameCase{"Varnoset.EXE", true}, NameCase{"graph1.bmp", true}, NameCase{"read me.txt", true},
                    NameCase{"CONFIG.SYS", true},    // starts like CON but is not it
                    NameCase{"COM10.txt", true},     // only COM1..COM9 are devices
                    NameCase{"LPT0", true}, NameCase{".profile", true}, NameCase{"caf\xE9.txt", true},
                    NameCase{"", false}, NameCase{"a\\b.txt", false}, NameCase{"a/b.txt", false},
                    NameCase{"c:x.txt", false}, NameCase{"a..txt", false}, NameCase{"..", false},
                    NameCase{"tab\there", false}, NameCase{"bell\x07", false}, NameCase{"del\x7F", false},
                    NameCase{"readme.", false}, NameCase{"readme.txt ", false}, NameCase{"what?.txt", false},
                    NameCase{"star*.txt", false}, NameCase{"a<b", false}, NameCase{"a|b", false},
                    NameCase{"say\"hi\"", false}, NameCase{"CON", false}, NameCase{"con", false},
                    NameCase{"con.txt", false}, NameCase{"Nul.tar.gz", false}, NameCase{"aux .txt", false},
                    NameCase{"PRN", false}, NameCase{"COM1", false}, NameCase{"com9.log", false},
                    NameCase{"LPT1", false}, NameCase{"lpt9.txt", false}));

struct Cp1252Case {
    const char* utf8;
    bool ok;
    const char* bytes;       // expected bytes when ok
    uint32_t badCodePoint;   // expected first bad character otherwise
};

class Cp1252Conversion : public testing::TestWithParam<Cp1252Case> {};

TEST_P(Cp1252Conversion, MapsEveryCharacterOrNamesTheFirstThatHasNoByte) {
    const Cp1252Case& c = GetParam();
    const Cp1252Result result = Utf8ToCp1252(c.utf8);
    ASSERT_EQ(result.ok, c.ok);
    if (c.ok) {
        EXPECT_EQ(result.text, c.bytes);
        EXPECT_EQ(Cp1252ToUtf8(result.text), c.utf8) << "messages must show the text as written";
    } else {
        EXPECT_EQ(result.badCodePoint, c.badCodePoint);
    }
}

// Bytes from the published Windows-1252 table.
INSTANTIATE_TEST_SUITE_P(
    Table, Cp1252Conversion,
    testing::Values(Cp1252Case{"Varnoset 2.18", true, "Varnoset 2.18", 0},
                    Cp1252Case{"caf\u00E9 \u00FF\u00A0", true, "caf\xE9 \xFF\xA0", 0},
                    Cp1252Case{"\u20AC5", true, "\x80" "5", 0},
                    Cp1252Case{"\u201Cquoted\u201D \u2014 \u2122", true, "\x93quoted\x94 \x97 \x99", 0},
                    Cp1252Case{"\u0160\u0161\u0178\u017D\u0192", true, "\x8A\x9A\x9F\x8E\x83", 0},
                    Cp1252Case{"a\u0081b", false, "", 0x81},    // undefined in the code page
                    Cp1252Case{"\u009D", false, "", 0x9D},
                    Cp1252Case{"x\u0100", false, "", 0x100},
                    Cp1252Case{"\u4E2D\u6587", false, "", 0x4E2D},
                    Cp1252Case{"ok \U0001F600", false, "", 0x1F600}));

TEST(UpperCp1252, UpperCasesAccentedLettersLikeResourceNames) {
    EXPECT_EQ(UpperCp1252("varnoset.exe"), "VARNOSET.EXE");
    EXPECT_EQ(UpperCp1252("caf\xE9"), "CAF\xC9");            // é -> É
    EXPECT_EQ(UpperCp1252("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // š œ ž ÿ
    EXPECT_EQ(UpperCp1252("\xF7\xDF\xB5"), "\xF7\xDF\xB5");  // ÷ ß µ have no upper case here
}

struct LiteralCase {
    const char* text;
    const char* literal;
};

class CLiterals : public testing::TestWithParam<LiteralCase> {};

TEST_P(CLiterals, SpellTheBytesExactly) { EXPECT_EQ(CStringLiteral(GetParam().text), GetParam().literal); }

INSTANTIATE_TEST_SUITE_P(
    Table, CLiterals,
    testing::Values(LiteralCase{"Varnoset", "\"Varnoset\""},
                    LiteralCase{"C:\\Holbrine\\Varnoset", "\"C:\\\\Holbrine\\\\Varnoset\""},
                    LiteralCase{"say \"hi\"", "\"say \\\"hi\\\"\""},
                    LiteralCase{"one\ntwo", "\"one\\ntwo\""},
                    // A hex digit after a \x escape would join the escape.
                    LiteralCase{"caf\xE9" "bad", "\"caf\\xE9\" \"bad\""},
                    LiteralCase{"\xE9x", "\"\\xE9x\""}));

struct TimeCase {
    int year, month, day, hour, minute, second;
    int offsetMinutes;
    uint64_t fileTime;  // worked out with Python's datetime
};

class FileTimes : public testing::TestWithParam<TimeCase> {};

TEST_P(FileTimes, CountTicksFrom1601) {
    const TimeCase& c = GetParam();
    const int64_t seconds = UnixSeconds(c.year, c.month, c.day, c.hour, c.minute, c.second) - c.offsetMinutes * 60;
    EXPECT_EQ(FileTimeOfUnix(seconds, 0), c.fileTime);
}

INSTANTIATE_TEST_SUITE_P(Table, FileTimes,
                         testing::Values(TimeCase{1970, 1, 1, 0, 0, 0, 0, 116444736000000000ULL},
                                         TimeCase{1998, 6, 14, 10, 32, 0, 0, 125422939200000000ULL},
                                         TimeCase{2000, 2, 29, 23, 59, 59, 330, 125963225990000000ULL},
                                         TimeCase{1601, 1, 1, 0, 0, 0, 0, 0}));

TEST(FileTimes, KeepHundredNanosecondsAndRefuseTimesBefore1601) {
    EXPECT_EQ(FileTimeOfUnix(981173106, 123456789), 126256467061234567ULL);
    EXPECT_EQ(FileTimeOfUnix(UnixSeconds(1600, 12, 31, 23, 59, 59), 0), std::nullopt);
}

TEST(DefaultFolder, LongerThanTheInstallersBufferIsRefused) {
    std::string folder = "C:\\" + std::string(257, 'a');  // 260 characters
    EXPECT_FALSE(NormaliseInstallFolder(folder));
    std::string fits = "c:\\" + std::string(255, 'a') + "\\";  // 259 characters
    EXPECT_TRUE(NormaliseInstallFolder(fits));
    EXPECT_EQ(fits, "C:\\" + std::string(255, 'a'));
}

}  // namespace
