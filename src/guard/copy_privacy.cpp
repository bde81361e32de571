#include "guard/copy_privacy.h"

namespace veltrano {

CopyPrivacy PrivacyOf(const ClipboardPrivacyMarkers& markers) {
    if (markers.excludeFromMonitoring || markers.viewerIgnore) return CopyPrivacy::Private;
    if (markers.canIncludeInHistory == 0u) return CopyPrivacy::NotForHistory;
    return CopyPrivacy::Ordinary;
}

}  // namespace veltrano
