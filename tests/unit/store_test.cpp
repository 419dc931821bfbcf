#include "app/store.h"

#include <gtest/gtest.h>

#include "platform/sim/platform.h"

namespace velmora {
namespace {

// These names are where people's settings already live: a rename loses them.
TEST(StoreKeys, NamesArePinned) {
    EXPECT_STREQ(keys::app, "velmora");
    EXPECT_STREQ(keys::section, "config");
    const std::array<const char*, 10> expected = {"red", "green", "blue",      "width", "height",
                                                  "top", "left",  "frontmost", "tint",  "loadwin"};
    ASSERT_EQ(keys::all.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_STREQ(keys::all[i], expected[i]);
}

TEST(Store, AddressesByApplicationSectionAndKey) {
    platform::sim::MemoryStore backend;
    Store store(backend);
    EXPECT_EQ(store.get(keys::red), "");  // never written reads empty
    store.save(keys::red, "12");
    store.SaveSetting("other", "config", "red", "99");
    store.SaveSetting("velmora", "other", "red", "77");
    EXPECT_EQ(store.get(keys::red), "12");
    EXPECT_EQ(store.GetSetting("other", "config", "red"), "99");
    EXPECT_EQ(store.GetSetting("velmora", "other", "red"), "77");
    store.save(keys::red, " 7");
    EXPECT_EQ(store.get(keys::red), " 7");  // replaced, text kept exactly
}

}  // namespace
}  // namespace velmora
