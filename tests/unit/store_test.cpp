#include "app/store.h"

#include <gtest/gtest.h>

#include "platform/sim/platform.h"

namespace velmora {
namespace {

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
