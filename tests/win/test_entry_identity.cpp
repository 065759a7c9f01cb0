// New identities from the platform's generator: random bytes that differ call to call, and
// identities made from them in the RFC 4122 version 4 form, none repeated.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "schedule/entry_identity.h"
#include "schedule/entry_identity_win.h"

namespace {

TEST(EntryIdentity, PlatformRandomBytesMakeDistinctIdentities) {
    unsigned char a[64] = {}, b[64] = {};
    ASSERT_TRUE(platform_random_bytes(a, sizeof a));
    ASSERT_TRUE(platform_random_bytes(b, sizeof b));
    EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
    set_random_source(platform_random_bytes);
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        char uid[40];
        make_entry_uid(uid, sizeof uid);
        ASSERT_EQ(std::strlen(uid), 36u);
        EXPECT_EQ(uid[14], '4');
        EXPECT_NE(std::strchr("89ab", uid[19]), nullptr);
        EXPECT_TRUE(seen.insert(uid).second) << uid;
    }
    set_random_source(nullptr);
}

}  // namespace
