#pragma once
// The clip both Windows Runtime backends make: a stream at position 0 and its MIME type, which
// is all a media source needs, whether the audio was synthesized or came as a WAV file.
#include <string>

#include "base/com_ptr.h"
#include "notify/speech/speech_backends.h"
#include "notify/speech/winrt_abi.h"

namespace veltrano {

struct WinRtAudioClip final : AudioClip {
    ComPtr<winrt_abi::IRandomAccessStream> stream;
    std::wstring contentType;
};

}  // namespace veltrano
