#include "config/scramble.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string permute(const std::string& s) {
    std::string t(s.size(), '\0');
    memo_permute(s.data(), s.size(), &t[0]);
    return t;
}

std::string unpermute(const std::string& t) {
    std::string s(t.size(), '\0');
    memo_unpermute(t.data(), t.size(), &s[0]);
    return s;
}

std::string scramble(const std::string& plain) {
    std::vector<char> b(memo_scrambled_length(plain.size()) + 1, '#');
    std::memcpy(b.data(), plain.c_str(), plain.size() + 1);
    EXPECT_TRUE(memo_scramble(b.data(), b.size()));
    return b.data();
}

// Decodes in a heap buffer of exactly strlen + 1 bytes, so ASan sees overruns.
std::string unscramble(const std::string& encoded, size_t* n = nullptr) {
    std::vector<char> b(encoded.c_str(), encoded.c_str() + encoded.size() + 1);
    const size_t len = memo_unscramble(b.data(), b.size());
    if (n) *n = len;
    return std::string(b.data(), len);
}

}  // namespace

TEST(MemoPermute, FromTheMiddleOutward) {
    struct { const char* s; const char* t; } cases[] = {
        {"", ""}, {"a", "a"}, {"ab", "ab"}, {"abc", "bac"},
        {"abcde", "cbdae"}, {"abcdef", "cdbeaf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(permute(c.s), c.t);
        EXPECT_EQ(unpermute(c.t), c.s);
    }
}

TEST(MemoScramble, KnownValues) {
    struct { const char* plain; const char* scrambled; } cases[] = {
        {"", "$"}, {"a", "$YQ"}, {"ab", "$YWI"}, {"abc", "$YmFj"},
        {"abcd", "$YmNhZA"}, {"abcdef", "$Y2RiZWFm"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scramble(c.plain), c.scrambled);
        EXPECT_EQ(unscramble(c.scrambled + 1), c.plain);
    }
}

TEST(MemoUnscramble, Irregular) {
    struct { std::string encoded; std::string plain; } cases[] = {
        {"", ""},
        {"YmF", "ba"},        // 18 bits: two bytes, the inverse permutation keeps "ba"
        {"Ym#j", "b"},        // stops at "#": bytes so far stay permuted
        {"YmFj====", "abc"},  // padding is skipped
        {"Ym=Fj", "abc"},
        {"\xD9mFj", "abc"},   // looked up by the low 7 bits: 0xD9 reads as "Y"
        {"YmFj\xBD", "abc"},  // 0xBD reads as "="
        {"Y2Ri ZWFm", "cdb"}, // abcdef cut by a space: "cdb" left permuted
    };
    for (const auto& c : cases) EXPECT_EQ(unscramble(c.encoded), c.plain) << c.encoded;
}

TEST(MemoScramble, LengthOfStoredScheduleValue) {
    const std::string value = std::string(10, 'p') + std::string(79, 'm');
    EXPECT_EQ(memo_scrambled_length(value.size()), 120u);
    EXPECT_EQ(scramble(value).size(), 120u);
}

TEST(MemoScramble, RefusesWhenResultDoesNotFit) {
    for (size_t n = 0; n < 40; ++n) {
        const std::string plain(n, 'q');
        const size_t need = memo_scrambled_length(n) + 1;
        std::vector<char> exact(need);
        std::memcpy(exact.data(), plain.c_str(), n + 1);
        EXPECT_TRUE(memo_scramble(exact.data(), exact.size())) << n;
        EXPECT_EQ(std::strlen(exact.data()), need - 1);

        std::vector<char> small(need - 1);
        std::memcpy(small.data(), plain.c_str(), n + 1 <= small.size() ? n + 1 : small.size());
        const std::vector<char> before = small;
        if (n + 1 <= small.size()) {
            EXPECT_FALSE(memo_scramble(small.data(), small.size())) << n;
            EXPECT_EQ(small, before);
        }
    }
    std::vector<char> unterminated(8, 'x');
    EXPECT_FALSE(memo_scramble(unterminated.data(), unterminated.size()));
}

TEST(MemoUnscramble, UnterminatedBufferDecodesWithinItsSize) {
    std::vector<char> b = {'Y', 'm', 'F', 'j'};  // no NUL anywhere
    EXPECT_EQ(memo_unscramble(b.data(), b.size()), 3u);
    EXPECT_STREQ(b.data(), "abc");
}

TEST(MemoScramble, RandomRoundTrip) {
    std::mt19937 rng(932);
    for (int round = 0; round < 500; ++round) {
        std::string plain(rng() % 200, '\0');
        for (char& ch : plain) {
            // Mostly CP932 lead/trail and high bytes, never NUL.
            ch = static_cast<char>(round % 2 ? 0x81 + rng() % 0x7C : 1 + rng() % 255);
        }
        const std::string s = scramble(plain);
        ASSERT_EQ(s.size(), memo_scrambled_length(plain.size()));
        ASSERT_EQ(s[0], '$');
        size_t n = 0;
        EXPECT_EQ(unscramble(s.substr(1), &n), plain);
        EXPECT_EQ(n, plain.size());

        // Decoding a settings value in place, "$" included, into the same buffer.
        std::vector<char> b(s.c_str(), s.c_str() + s.size() + 1);
        memo_unscramble_to(b.data() + 1, b.data(), b.size());
        EXPECT_EQ(std::string(b.data()), plain);
    }
}

TEST(MemoUnscrambleTo, CutsOnCharacterBoundary) {
    const std::string s = scramble("ab表cd");
    std::vector<char> out(4, '#');
    EXPECT_EQ(memo_unscramble_to(s.c_str() + 1, out.data(), out.size()), 2u);
    EXPECT_STREQ(out.data(), "ab");
    std::vector<char> wide(16, '#');
    EXPECT_EQ(memo_unscramble_to(s.c_str() + 1, wide.data(), wide.size()), 6u);
    EXPECT_STREQ(wide.data(), "ab表cd");
}
