// The colour filter's ramps on Linux: the gains go over what the screen showed,
// and the record a crash leaves reads back as written, or not at all.
#include <gtest/gtest.h>

#include "platform/qt/ramps.h"

namespace velmora::platform::qt {
namespace {

TEST(FilterRamps, GainsMultiplyTheRampFoundAndARampThatNeverRisesIsTheIdentity) {
    const Ramps found{{0, 1000, 40000}, {0, 0, 0}, {60000, 30000, 0}};
    const Ramps out = filtered(found, {0.5, 0.25, 1.0});
    EXPECT_EQ(out.red, (Ramp{0, 500, 20000}));
    // Zeros, as a fresh Xvfb holds, and a falling ramp: the identity, scaled.
    EXPECT_EQ(out.green, (Ramp{0, 8192, 16384}));
    EXPECT_EQ(out.blue, (Ramp{0, 32768, 65535}));
}

TEST(FilterRamps, TheRecordReadsBackAsWrittenAndAnythingElseIsNoRecord) {
    const std::vector<CrtcRamps> crtcs{{63, {{0, 1}, {0, 2}, {0, 3}}, {{0, 4}, {0, 5}, {0, 6}}},
                                       {64, {{7}, {8}, {9}}, {{10}, {11}, {12}}}};
    const QByteArray bytes = encodeRecord(crtcs);
    EXPECT_EQ(decodeRecord(bytes), crtcs);
    EXPECT_EQ(decodeRecord(encodeRecord({})), std::vector<CrtcRamps>{});
    EXPECT_FALSE(decodeRecord(bytes.left(bytes.size() - 1)));
    EXPECT_FALSE(decodeRecord(bytes + 'x'));
    EXPECT_FALSE(decodeRecord("[config]\ntint=\" 1\"\n"));
    EXPECT_FALSE(decodeRecord({}));
}

}  // namespace
}  // namespace velmora::platform::qt
