#include "payload/os_version.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kNonNT = 0x80000000u;

// GetVersion's answer: the family bit and the major version in the low byte.
constexpr std::uint32_t Version(std::uint32_t dwMajor, std::uint32_t dwMinor, bool bNonNT) {
    return (bNonNT ? kNonNT : 0u) | (dwMinor << 8) | dwMajor;
}

}  // namespace

TEST(OSVersion, EveryRowOfTheCodeTable) {
    struct Case { std::uint32_t dwMajor, dwMinor; bool bNonNT; int nCode; };
    const Case cases[] = {
        {3, 10, true, 0},  {3, 95, true, 0},  {4, 0, true, 1},   {4, 3, true, 1},  {4, 10, true, 2},
        {4, 90, true, 3},  {5, 0, true, 1},   {3, 51, false, 4}, {4, 0, false, 5}, {4, 10, false, 5},
        {5, 0, false, 6},  {5, 1, false, 7},  {5, 2, false, 8},  {5, 3, false, 4}, {6, 0, false, 9},
        {6, 1, false, 10}, {6, 2, false, 4},  {6, 3, false, 4},  {10, 0, false, 4},
    };
    for (const Case& c : cases) {
        const OSVersionNumbers numbers{c.dwMajor, c.dwMinor};
        EXPECT_EQ(ClassifyOSVersion(Version(c.dwMajor, c.dwMinor, c.bNonNT), &numbers), c.nCode)
            << c.dwMajor << "." << c.dwMinor << (c.bNonNT ? " non-NT" : " NT");
    }
}

TEST(OSVersion, AMissingOrFailedVersionRecordLeavesTheFamilyDefault) {
    EXPECT_EQ(ClassifyOSVersion(Version(4, 10, true), nullptr), 1);
    EXPECT_EQ(ClassifyOSVersion(Version(5, 1, false), nullptr), 4);
    // A failed GetVersionExA leaves the zero-filled record at 0.0.
    const OSVersionNumbers failed{0, 0};
    EXPECT_EQ(ClassifyOSVersion(Version(4, 90, true), &failed), 1);
    EXPECT_EQ(ClassifyOSVersion(Version(5, 1, false), &failed), 4);
    // Below 4 the non-NT family never looks at the record.
    const OSVersionNumbers ninetyEight{4, 10};
    EXPECT_EQ(ClassifyOSVersion(Version(3, 0, true), &ninetyEight), 0);
}
