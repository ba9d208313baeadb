#pragma once
// Writing the wireless receiver's last frame to a file on request.

#include <QString>

#include <cstdint>
#include <span>

#include "capture/wireless/lens_overlay.h"

namespace orv {

// How a frame save request ended. Only Saved means the file was written.
enum class FrameSaveResult {
    Saved = 0,
    TimedOut = -1,     // the receiver did not finish within the wait
    WriteFailed = -2,  // the file could not be written (nothing left behind)
    Cancelled = -3,    // the button was released while a save waited for its frame
};

// Quality of a saved frame re-rendered with its overlay.
inline constexpr int kWirelessSaveJpegQuality = 100;

// Writes the frame to path: its bytes unchanged without an overlay; with
// one, decoded at natural size into width x (3 x width / 4), the overlay drawn
// over that, and written as a JPEG of quality 100. The file is replaced only
// when written whole. False when nothing was written.
bool SaveWirelessFrame(const QString &path, std::span<const std::uint8_t> frame, int decodedWidth,
                       const OverlayOptions &options);

}  // namespace orv
