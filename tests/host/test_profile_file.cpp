// The in-memory profile file against the behaviour of the platform profile
// functions (cases measured on them).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/profile_file.h"
#include "tests/host/profile_parsed.h"

namespace {

std::string get(const ProfileFile& f, const char* sec, const char* key, const char* def = "D",
                size_t size = 100) {
    char buf[512];
    std::memset(buf, 'x', sizeof buf);
    const size_t n = f.get_string(sec, key, def, buf, size);
    EXPECT_EQ(n, std::strlen(buf));
    return buf;
}

const char kOdd[] =
    "top=1\r\n"
    "[S]\r\n"
    " a = b \r\n"
    "A=dup\r\n"
    ";c=comment\r\n"
    "noeq\r\n"
    "q1=\"quoted\"\r\n"
    "q2=' x '\r\n"
    "q3=\"\r\n"
    "q4=\"a\"b\"\r\n"
    "semi=a;b\r\n"
    "tab=\tv\t\r\n"
    "ctl=\x1a" "x\x1a\r\n"
    "vt=\x0b\x0c" "ff\x0b\r\n"
    "lead=ab\x81\r\n"
    "zen=\x81\x40x\x81\x40\r\n"
    "kk=\x95\x5c\r\n"
    "nul=a\0b\r\n"
    "empty=\r\n"
    "[s]\r\n"
    "other=2\r\n"
    "[ T ]\r\n"
    "t=3\r\n"
    "[U\r\n"
    "u=4\r\n"
    "[a]b] junk\r\n"
    "ab=5\r\n"
    "[X]\r\n"
    "lf=1\nlf2=2\r\r\nlf3=3\rlf4=4\r\n"
    "[\x83\x41]\r\n"
    "k=katakana-a\r\n"
    "[Z]\r\n"
    "z=no newline at end";

struct ReadCase {
    const char* section;
    const char* key;
    const char* want;
};

TEST(ProfileFile, ReadsOddFilesLikeThePlatform) {
    const ProfileFile f = parsed(std::string(kOdd, sizeof kOdd - 1));
    const ReadCase cases[] = {
        {"S", "a", "b"},              // blanks around name and value
        {"s", "A", "b"},              // case-insensitive; the first duplicate wins
        {"S", ";c", "comment"},       // a ";" line is just a name
        {"S", "noeq", "D"},           // no "=": default
        {"S", "q1", "quoted"},        // surrounding quotes removed
        {"S", "q2", " x "},           // single quotes too, blanks inside kept
        {"S", "q3", "\""},            // a lone quote stays
        {"S", "q4", "a\"b"},          // only the outer pair goes
        {"S", "semi", "a;b"},         // ";" inside a value is kept
        {"S", "tab", "v"},            // tabs trimmed
        {"S", "ctl", "x"},            // ^Z trimmed
        {"S", "vt", "ff"},            // VT and FF trimmed
        {"S", "lead", "ab"},          // lone lead byte at the end dropped
        {"S", "zen", "\x81\x40x\x81\x40"},  // ideographic spaces are not blanks
        {"S", "kk", "\x95\x5c"},      // trail byte 0x5C kept
        {"S", "nul", "a"},            // a value stops at NUL
        {"S", "empty", ""},
        {"S", "other", "D"},          // only the first of duplicate sections is searched
        {"s", "other", "D"},
        {"T", "t", "3"},              // "[ T ]" is section T
        {" t ", "t", "3"},            // names asked for are trimmed
        {"T", "u", "4"},              // "[U" is no header: its lines stay in T
        {"U", "u", "D"},
        {"a]b", "ab", "5"},           // header name runs to the last "]"
        {"X", "lf", "1"},             // LF, CR CR LF and lone CR all end lines
        {"X", "lf2", "2"},
        {"X", "lf3", "3"},
        {"X", "lf4", "4"},
        {"\x83\x61", "k", "D"},       // trail byte 0x41 is not a letter to fold
        {"\x83\x41", "k", "katakana-a"},
        {"Z", "z", "no newline at end"},
        {"", "top", "1"},             // lines before the first header: section ""
        {"S", "top", "D"},
        {"Missing", "k", "D"},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(get(f, c.section, c.key), c.want) << c.section << "/" << c.key;
}

TEST(ProfileFile, CutsToTheBufferWithoutSplittingACharacter) {
    // 会議 = 89 EF 8B 63
    const ProfileFile f = parsed("[S]\r\nj=\x89\xef\x8b\x63\r\nq=\"abc\"\r\n");
    const struct {
        const char* key;
        size_t size;
        const char* want;
    } cases[] = {
        {"j", 5, "\x89\xef\x8b\x63"}, {"j", 4, "\x89\xef"}, {"j", 3, "\x89\xef"},
        {"j", 2, ""},                 {"j", 1, ""},         {"q", 3, "ab"},
        {"q", 10, "abc"},
    };
    for (const auto& c : cases) EXPECT_EQ(get(f, "S", c.key, "D", c.size), c.want) << c.size;
    char buf[4] = "zzz";
    EXPECT_EQ(f.get_string("S", "j", "D", buf, 0), 0u);
    EXPECT_STREQ(buf, "zzz");  // size 0 writes nothing
}

TEST(ProfileFile, DefaultsAreTrimmedAndUnquotedLikeValues) {
    const ProfileFile f;
    EXPECT_EQ(get(f, "S", "k", " "), " ");  // a default of blanks keeps one
    EXPECT_EQ(get(f, "S", "k", "   "), " ");
    EXPECT_EQ(get(f, "S", "k", "ab  "), "ab");
    EXPECT_EQ(get(f, "S", "k", "\"dq\""), "dq");
    EXPECT_EQ(get(f, "S", "k", "no data", 4), "no ");
}

TEST(ProfileFile, IntegersReadAsThePlatformReadsThem) {
    const ProfileFile f = parsed(
        "[N]\r\nhex=0x10\r\nplus=+5\r\nneg=-70000\r\nlead= 12abc\r\nwrap=65544\r\nempty=\r\n"
        "word=abc\r\nbig=99999999999\r\nquoted=\"42\"\r\n"
        "long=00000000000000000000000000000012\r\nsplit=- 5\r\nall=4294967295\r\n"
        "bin=0b11\r\nneghex=-0x10\r\nspace=1 2\r\nupper=0X10\r\noct=0o17\r\nbad=0b2\r\n");
    const struct {
        const char* key;
        int32_t want;
    } cases[] = {
        {"hex", 16},      {"plus", 5},    {"neg", -70000}, {"lead", 12},  {"wrap", 65544},
        {"empty", -3},    {"word", 0},    {"big", 1215752191}, {"quoted", 42},
        {"long", 0},      // only the first 29 characters are looked at
        {"split", 0},     {"all", -1},    {"bin", 3},      {"neghex", -16}, {"space", 1},
        {"upper", 0},     {"oct", 15},    {"bad", 0},      {"missing", -3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int32_t>(f.get_int("N", c.key, -3)), c.want) << c.key;
}

TEST(ProfileFile, SetKeepsSpellingTrimsAndAppends) {
    ProfileFile f = parsed("; head\r\n\r\n[Config]\r\nMonthLang=1\r\n\r\n;x\r\n[Other]\r\nk=v");
    f.set("config", "monthlang", "  2  ");
    f.set("Config", "new", "\x81\x40z");
    f.set("Config", "tail", "ab\x81");
    f.set(" NewSec ", "  k  ", " x ");
    f.set("Config", "nl", "line1\r\nline2=injected");
    f.set("Other", "k", "w");
    EXPECT_EQ(f.serialize(),
              "; head\r\n"
              "[Config]\r\n"
              "MonthLang=2\r\n"
              ";x\r\n"
              "new=\x81\x40z\r\n"
              "tail=ab\r\n"
              "nl=line1\r\n"
              "[Other]\r\n"
              "k=w\r\n"
              "[NewSec]\r\n"
              "k=x\r\n");
}

TEST(ProfileFile, SetGoesToTheFirstOfDuplicateSections) {
    ProfileFile f = parsed("[D]\r\na=1\r\n[E]\r\n[d]\r\nb=2\r\na=3\r\n");
    f.set("D", "b", "new");
    f.set("d", "a", "changed");
    EXPECT_EQ(f.serialize(), "[D]\r\na=changed\r\nb=new\r\n[E]\r\n[d]\r\nb=2\r\na=3\r\n");
}

TEST(ProfileFile, ReplaceSectionEmptiesEveryCopyAndDropsLinesWithoutEquals) {
    const std::string text = "[D]\r\na=1\r\n;c\r\n[E]\r\ne=1\r\n[d]\r\nb=2\r\na=3\r\n";
    ProfileFile f = parsed(text);
    f.replace_section("D", "c=9\0noeq\0x=1\0x=2\0");
    EXPECT_EQ(f.serialize(), "[D]\r\nc=9\r\nx=1\r\nx=2\r\n[E]\r\ne=1\r\n[d]\r\n");
    EXPECT_EQ(get(f, "D", "x"), "1");

    ProfileFile g = parsed(text);
    g.replace_section("d", "");
    EXPECT_EQ(g.serialize(), "[D]\r\n[E]\r\ne=1\r\n[d]\r\n");

    ProfileFile h = parsed(text);
    h.replace_section("Alarm", "");  // nothing to add: no section made
    EXPECT_EQ(h.serialize(), text);
    h.replace_section("Alarm", "k=v\0");
    EXPECT_EQ(h.serialize(), text + "[Alarm]\r\nk=v\r\n");
}

TEST(ProfileFile, LookupsStayRightAfterReplacingASection) {
    ProfileFile f;
    for (int i = 0; i < 50; ++i) f.set("S", ("k" + std::to_string(i)).c_str(), "old");
    EXPECT_EQ(get(f, "S", "K7"), "old");
    f.replace_section("S", "k7=new\0K7=second\0");
    EXPECT_EQ(get(f, "S", "k7"), "new");
    EXPECT_EQ(get(f, "S", "k8"), "D");
    f.set("S", "k8", "added");
    f.set("S", "K8", "replaced");
    EXPECT_EQ(get(f, "S", "k8"), "replaced");
}

TEST(ProfileFile, SerializedFormParsesBackToTheSameDocument) {
    ProfileFile f = parsed(std::string(kOdd, sizeof kOdd - 1));
    const std::string once = f.serialize();
    ProfileFile g = parsed(once);
    EXPECT_EQ(g.serialize(), once);
    EXPECT_EQ(get(g, "T", "t"), "3");
    EXPECT_EQ(get(g, "S", "q1"), "quoted");
    EXPECT_EQ(get(g, "X", "lf4"), "4");
    // Lines with empty names: only the first of a run is kept.
    EXPECT_EQ(parsed("[S]\r\n =v0\r\n=v1\r\nk=1\r\n=v2\r\n").serialize(),
              "[S]\r\n=v0\r\nk=1\r\n=v2\r\n");
}

TEST(ProfileFile, NamesCutAtNulNeverSwallowTheirBracketOrEquals) {
    // A name cut at a NUL keeps no half character, so what is written back
    // reads back as the same name and value.
    const std::string text("[Sec\x82\0x]\r\nab\x82\0junk=v\r\n\0\0only nul\r\n", 34);
    ProfileFile f = parsed(text);
    EXPECT_EQ(get(f, "Sec", "ab"), "v");
    const std::string out = f.serialize();
    EXPECT_EQ(out, "[Sec]\r\nab=v\r\n");
    EXPECT_EQ(get(parsed(out), "Sec", "ab"), "v");
}

TEST(ProfileFile, CleaningReachesAFixedPoint) {
    // Dropping a lone lead byte bares a blank; trimming it leaves the
    // character before a lone lead byte in turn, and so on.
    const struct {
        const char* raw;  // after "k=" or inside "[...]"
        const char* want;
    } cases[] = {
        {"ab\x82 \x81", "ab"},
        {"a\x82 \x82 \x82 \x81", "a"},
        {"\x82 \x81", ""},
        {"ab\x82\t\x81 ", "ab"},
        {"ab\x82\x81", "ab\x82\x81"},  // one whole character: kept
        {"ab\x82 x", "ab\x82 x"},      // nothing lone at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        const ProfileFile f = parsed(std::string("[S]\r\nk=") + c.raw + "\r\n");
        EXPECT_EQ(get(f, "S", "k"), c.want);
        // Written and read again, the value is the one read before.
        EXPECT_EQ(get(parsed(f.serialize()), "S", "k"), c.want);
        ProfileFile g;
        g.set("S", "k", c.raw);
        EXPECT_EQ(get(g, "S", "k"), c.want);
        // Names too, given to set() or cut at a NUL in the file: a name left
        // ending in a lone lead byte would swallow its "]" or "=" when written.
        ProfileFile by_set;
        by_set.set(c.raw, c.raw, "v");
        const std::string cut = std::string("[") + c.raw + '\0' + "x]\r\n" + c.raw + '\0' + "y=v\r\n";
        for (const ProfileFile& h : {by_set, parsed(cut)}) {
            const ProfileFile h2 = parsed(h.serialize());
            EXPECT_EQ(h2.serialize(), h.serialize());
            if (*c.want != '\0') {
                EXPECT_EQ(get(h2, c.want, c.want), "v");
            }
        }
    }
}

TEST(ProfileFile, EverySectionKeepsItsHeaderWhenWritten) {
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        // An empty name is no reason to leave the header out: its keys would
        // join the section before.
        {"[Schedule]\r\nschedulecount=1\r\n[]\r\nschedule002=x\r\n",
         "[Schedule]\r\nschedulecount=1\r\n[]\r\nschedule002=x\r\n"},
        {"top=1\r\n[]\r\na=2\r\n[ ]\r\nb=3\r\n", "top=1\r\n[]\r\na=2\r\n[]\r\nb=3\r\n"},
        {"[]\r\n", "[]\r\n"},
        {"lone=1\r\n", "lone=1\r\n"},
    };
    for (const auto& c : cases) {
        const ProfileFile f = parsed(c.text);
        EXPECT_EQ(f.serialize(), c.written);
        const ProfileFile g = parsed(f.serialize());
        EXPECT_EQ(g.serialize(), c.written);
        EXPECT_EQ(g.section_count(), f.section_count());
    }
    const ProfileFile f = parsed(cases[0].text);
    EXPECT_EQ(get(parsed(f.serialize()), "Schedule", "schedule002"), "D");
}

TEST(ProfileFile, SetReportsWhetherTheDocumentChanged) {
    ProfileFile f = parsed("[S]\r\na=1\r\nnoeq\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
        bool changed;
    } cases[] = {
        {"S", "a", "1", false},     {"s", "A", " 1 ", false},  // trimmed, same value
        {"S", "a", "2", true},      {"S", "a", "2", false},
        {"S", "noeq", "", true},    {"S", "noeq", "", false},  // gains its "="
        {"S", "new", "", true},     {"T", "k", "v", true},
        {"S", "a", "2\r\nx", false},  // cut at the line break
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.set(c.section, c.key, c.value), c.changed)
            << c.section << "/" << c.key << "=" << c.value;
}

TEST(ProfileFile, FoldingLowersOnlyAsciiLetters) {
    EXPECT_EQ(profile_fold_name(" ToDoWidth\t", 11), "todowidth");
    EXPECT_EQ(profile_fold_name("\x83\x41Z", 3), "\x83\x41z");  // trail 0x41 kept
    EXPECT_EQ(profile_fold_name("\x82\x60", 2), "\x82\x60");
}

}  // namespace
