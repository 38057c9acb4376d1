#include "sidekit/sidekit.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using sidekit::TextStore;

namespace {

// A file of the test's own in the temporary folder (the caller removes it).
std::string WriteTemp(const std::string& bytes) {
    const fs::path file = fs::temp_directory_path() /
                          ("sidekit_test_" + std::to_string(std::random_device{}()) + ".dat");
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string Entry(int id, const std::string& en, const std::string& de,
                  const std::string& fr = "fr") {
    return std::to_string(id) + " \"" + en + "\" \"" + de + "\" \"" + fr + "\"\n";
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

// `count` well-formed lines numbered from `firstId`.
std::string GoodLines(int count, int firstId = 1) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += Entry(firstId + i, "en" + std::to_string(i), "de" + std::to_string(i));
    }
    return out;
}

std::string Get(const TextStore& store, int id, int language, std::int32_t size = 4096) {
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 1), '@');
    const std::int32_t n = store.Get(id, language, buffer.data(), size);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::int32_t expected;
};

const std::string k1024 = Repeat("x", 1024);
const std::string k1025 = Repeat("x", 1025);
const std::string kUmlauts1024 = Repeat("\xC3\xA4", 1024);  // 1024 characters, 2048 bytes

// The result codes of loading, by the bytes of the file (Load reads the file, then these).
TEST(SidekitLoad, ResultCodes) {
    const LoadCase cases[] = {
        {"Empty", "", sidekit::kFileEmpty},
        {"OnlyComments", "# a comment\n\n   \t\n# another\n", sidekit::kNothingRead},
        {"OnlyByteOrderMark", "\xEF\xBB\xBF", sidekit::kNothingRead},
        {"OneEntry", Entry(1, "Daybridge", "Daybridge"), 1},
        {"ThreeEntriesCrLf",
         "1 \"a\" \"b\" \"c\"\r\n2 \"c\" \"d\" \"e\"\r\n# x\r\n3 \"e\" \"f\" \"g\"", 3},
        {"ByteOrderMarkThenEntry", "\xEF\xBB\xBF" + Entry(4, "a", "b"), 1},
        {"CommentAfterTexts", "7 \"a\" \"b\" \"c\"   # note\n", 1},
        {"SixLanguages", "7 \"a\" \"b\" \"c\" \"d\" \"e\" \"f\"\n", 1},
        {"MissingGermanLine1", "1 \"a\"\n", -501},
        {"MissingGermanLine3", "# c\n" + Entry(1, "a", "b") + "2 \"c\"\n", -503},
        {"MissingFrenchLine2", Entry(1, "a", "b") + "2 \"c\" \"d\"\n", -502},
        {"EmptyFrench", Entry(1, "a", "b", ""), -501},
        {"EmptyGerman", Entry(1, "a", "b") + Entry(2, "a", ""), -502},
        {"EmptyEnglish", Entry(1, "", "b"), -501},
        {"TruncatedInsideText", Entry(1, "a", "b") + "2 \"c\" \"d", -502},
        {"NoIdentifier", "\"a\" \"b\"\n", -501},
        {"IdentifierZero", Entry(0, "a", "b"), -501},
        {"IdentifierTooLarge", Entry(32768, "a", "b"), -501},
        {"IdentifierLargest", Entry(32767, "a", "b"), 1},
        {"NegativeIdentifier", "-3 \"a\" \"b\"\n", -501},
        {"TextNotQuoted", "3 a b\n", -501},
        {"JunkAfterText", "3 \"a\" \"b\" c\n", -501},
        {"TextsRunTogether", "3 \"a\"\"b\n", -501},
        {"SevenTexts", "7 \"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\"\n", -501},
        {"Text1024", Entry(1, k1024, "b"), 1},
        {"Umlauts1024", Entry(1, "a", kUmlauts1024), 1},
        {"Text1025Line1", Entry(1, k1025, "b"), -1001},
        {"Text1025Line3", GoodLines(2) + Entry(9, "a", k1025), -1003},
        {"Umlauts1025", Entry(1, "a", kUmlauts1024 + "\xC3\xA4"), -1001},
        {"DuplicateLine2", Entry(5, "a", "b") + Entry(5, "c", "d"), -1502},
        {"DuplicateAfterComments", Entry(5, "a", "b") + "#\n#\n" + Entry(5, "c", "d"), -1504},
        {"Lines500", GoodLines(500), 500},
        {"MissingLine500", GoodLines(499) + "600 \"a\"\n", -1000},
        {"TooLongLine500", GoodLines(499) + Entry(600, k1025, "b"), -1500},
        {"DuplicateLine500", GoodLines(499) + Entry(1, "a", "b"), -2000},
        {"Lines501", GoodLines(501), sidekit::kTooMuchText},
        {"Lines500ThenBlankLines", GoodLines(500) + "\n \t\r\n", 500},
        {"Lines500ThenComment", GoodLines(500) + "\n# c\n", sidekit::kTooMuchText},
        {"NulByte", Entry(1, "a", "b") + std::string("2 \"a\0b\" \"c\"\n", 13),
         sidekit::kTextNotRecovered},
        {"FormFeed", "\f" + Entry(1, "a", "b"), sidekit::kTextNotRecovered},
        {"LoneCarriageReturn", "1 \"a\" \"b\"\r2 \"c\" \"d\"\n", sidekit::kTextNotRecovered},
        {"InvalidUtf8", Entry(1, "a\xC3(", "b"), sidekit::kTextNotRecovered},
        {"Latin1Umlaut",
         Entry(1,
               "Gr\xF6\xDF"
               "e",
               "b"),
         sidekit::kTextNotRecovered},
        {"OverlongSlash", Entry(1, "\xC0\xAF", "b"), sidekit::kTextNotRecovered},
        {"Surrogate", Entry(1, "\xED\xA0\x80", "b"), sidekit::kTextNotRecovered},
        {"AboveUnicode", Entry(1, "\xF4\x90\x80\x80", "b"), sidekit::kTextNotRecovered},
        {"CutSequenceAtEnd", Entry(1, "a", "b") + "\xE2\x82", sidekit::kTextNotRecovered},
        {"BinaryJunk",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         sidekit::kTextNotRecovered}};
    TextStore store;
    for (const LoadCase& c : cases) {
        EXPECT_EQ(store.LoadFromBytes(c.bytes), c.expected) << c.name;
    }
}

TEST(SidekitLoad, TellsMoreTextsThanLanguagesFromAMissingText) {
    const std::pair<std::string, sidekit::LoadFailure> cases[] = {
        {"7 \"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\"\n", sidekit::LoadFailure::TooManyTexts},
        {"7 \"a\"\n", sidekit::LoadFailure::MissingText},
        {"7 \"a\" \"b\" c\n", sidekit::LoadFailure::MissingText},
        {Entry(1, "a", "b") + Entry(1, "a", "b"), sidekit::LoadFailure::None},
    };
    TextStore store;
    for (const auto& [bytes, failure] : cases) {
        EXPECT_LE(store.LoadFromBytes(bytes), 0) << bytes;
        EXPECT_EQ(store.lastFailure(), failure) << bytes;
    }
}

TEST(SidekitLoad, FileErrors) {
    TextStore store;
    EXPECT_EQ(store.Load((fs::temp_directory_path() / "sidekit_absent.dat").string()),
              sidekit::kCannotOpen);
    EXPECT_EQ(store.Load(""), sidekit::kCannotOpen);
    EXPECT_EQ(store.Load(fs::temp_directory_path().string()), sidekit::kReadError);
    // Valid comment lines, but more bytes than a text file may have.
    std::string line = Repeat("x", 1024);
    line.front() = '#';
    line += '\n';
    const std::string big =
        WriteTemp(Repeat(line, static_cast<int>(sidekit::kMaxFileBytes / line.size()) + 1));
    EXPECT_EQ(store.Load(big), sidekit::kTooMuchText);
    fs::remove(big);
}

TEST(SidekitLoad, FailedLoadKeepsThePreviousTextsASecondReplacesThem) {
    TextStore store;
    ASSERT_EQ(store.LoadFromBytes(Entry(21, "Error", "Fehler") + Entry(1, "one", "eins")), 2);
    EXPECT_EQ(store.LoadFromBytes(Entry(3, "a", "b") + Entry(3, "a", "b")), -1502);
    EXPECT_EQ(Get(store, 21, 1), "Fehler");
    EXPECT_EQ(Get(store, 3, 0), "");
    ASSERT_EQ(store.LoadFromBytes(Entry(3, "three", "drei")), 1);
    EXPECT_EQ(Get(store, 1, 0), "");
    EXPECT_EQ(Get(store, 3, 0), "three");
}

// Texts come back whole (quotes doubled inside, "#" inside a text), in the language asked for
// or, when a language has no text of its own, in English; nothing for an unknown identifier.
TEST(SidekitGet, TextsByIdentifierAndLanguage) {
    TextStore store;
    ASSERT_EQ(store.LoadFromBytes("48\t\"IF blocks nested too deeply \"  \"Zu tief \"\t\"Trop \"\n"
                                  "3 \"say \"\"hi\"\", ok\" \"\"\"x\"\"\" \"\"\"\"\n"
                                  "4 \"a # not a comment\" \"b\" \"c\"\n" +
                                  Entry(21, "Error", "Fehler") +
                                  "22 \"yes\" \"ja\" \"oui\" \"\" \"s\xC3\xAD\"\n"),
              5);
    const std::tuple<int, int, const char*> cases[] = {{48, 0, "IF blocks nested too deeply "},
                                                       {48, 1, "Zu tief "},
                                                       {48, 2, "Trop "},
                                                       {3, 2, "\""},
                                                       {3, 0, "say \"hi\", ok"},
                                                       {3, 1, "\"x\""},
                                                       {4, 0, "a # not a comment"},
                                                       {21, 0, "Error"},
                                                       {21, 1, "Fehler"},
                                                       {22, 2, "oui"},
                                                       {22, 4, "s\xC3\xAD"},
                                                       {22, 3, "yes"},
                                                       {21, 5, "Error"},
                                                       {20, 0, ""},
                                                       {-21, 0, ""},
                                                       {21, -1, ""},
                                                       {21, 6, ""}};
    for (const auto& [id, language, text] : cases) {
        EXPECT_EQ(Get(store, id, language), text) << id << " " << language;
    }
    char buffer[16] = {};
    EXPECT_EQ(store.Get(21, 0, buffer, 0), 0);
    EXPECT_EQ(store.Get(21, 0, buffer, -5), 0);
    EXPECT_EQ(store.Get(21, 0, nullptr, 16), 0);
    EXPECT_EQ(TextStore().Get(21, 0, buffer, 16), 0);
}

TEST(SidekitGet, NeverWritesPastTheBufferNorCutsACharacter) {
    // "a" (1 byte), "ä" (2), "€" (3), "𝄞" (4): character ends after 1, 3, 6 and 10 bytes.
    const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E";
    TextStore store;
    ASSERT_EQ(store.LoadFromBytes(Entry(5, text, "x")), 1);
    const std::array<std::size_t, 11> expected = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
    for (std::int32_t size = 1; size <= 12; ++size) {
        std::vector<char> buffer(static_cast<std::size_t>(size) + 8, '@');
        const std::int32_t n = store.Get(5, 0, buffer.data(), size);
        const std::size_t want = expected[std::min<std::size_t>(size, 10)];
        EXPECT_EQ(static_cast<std::size_t>(n), want) << "size " << size;
        EXPECT_EQ(std::string(buffer.data(), want), text.substr(0, want)) << "size " << size;
        // A NUL follows when there is room; nothing is written beyond `size`.
        if (want < static_cast<std::size_t>(size)) {
            EXPECT_EQ(buffer[want], '\0') << "size " << size;
        }
        for (std::size_t k = static_cast<std::size_t>(size); k < buffer.size(); ++k) {
            EXPECT_EQ(buffer[k], '@') << "size " << size << " byte " << k;
        }
    }
}

TEST(SidekitGet, AtMost1024CharactersComeBack) {
    TextStore store;
    ASSERT_EQ(store.LoadFromBytes(Entry(1, k1024, kUmlauts1024)), 1);
    EXPECT_EQ(Get(store, 1, 0, 4096), k1024);
    EXPECT_EQ(Get(store, 1, 1, 4096), kUmlauts1024);
    // A buffer of 1024 bytes holds 512 two-byte characters.
    EXPECT_EQ(Get(store, 1, 1, 1024), kUmlauts1024.substr(0, 1024));
    EXPECT_EQ(Get(store, 1, 1, 1023), kUmlauts1024.substr(0, 1022));
}

TEST(SidekitProcess, LtAndGtShareOneStore) {
    const std::string path =
        WriteTemp(Entry(1, "Daybridge", "Daybridge") + Entry(59, "at line", "in Zeile"));
    EXPECT_EQ(sidekit::lt(path, 7), sidekit::kBadArgument);
    EXPECT_EQ(sidekit::lt(path, 0), 2);
    char buffer[1024];
    std::int32_t n = sidekit::gt(59, 1, buffer, 1024, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max(n, 0))), "in Zeile");
    n = sidekit::gt(59, 0, buffer, 1024, 1);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max(n, 0))), "at line");
    EXPECT_EQ(sidekit::gt(60, 0, buffer, 1024, 1), 0);
    EXPECT_EQ(sidekit::lt(path + ".none", 0), sidekit::kCannotOpen);
    n = sidekit::gt(1, 0, buffer, 1024, 1);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max(n, 0))), "Daybridge");
    fs::remove(path);
}

}  // namespace
