#include "guard/copy_privacy.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(CopyPrivacy, MarkersDecideWhatMayHappenToTheCopy) {
    struct Row {
        ClipboardPrivacyMarkers markers;
        CopyPrivacy expected;
    };
    const Row rows[] = {
        {{}, CopyPrivacy::Ordinary},
        {{.excludeFromMonitoring = true}, CopyPrivacy::Private},
        {{.viewerIgnore = true}, CopyPrivacy::Private},
        {{.canIncludeInHistory = 0}, CopyPrivacy::NotForHistory},
        {{.canIncludeInHistory = 1}, CopyPrivacy::Ordinary},
        {{.canIncludeInHistory = 2}, CopyPrivacy::Ordinary},
        // Not being monitored at all is the stronger wish.
        {{.excludeFromMonitoring = true, .canIncludeInHistory = 1}, CopyPrivacy::Private},
        {{.viewerIgnore = true, .canIncludeInHistory = 0}, CopyPrivacy::Private},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(PrivacyOf(rows[i].markers), rows[i].expected) << "row " << i;
}

}  // namespace
}  // namespace veltrano
