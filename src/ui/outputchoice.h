#pragma once

namespace quorva {

// What the window makes, by the segment of the segmented control that chooses it: its pages of
// choices come in the same order.
enum class OutputChoice { AppIconSet = 0, ImageSet = 1, AndroidIcon = 2, DesktopWeb = 3, LaunchScreen = 4 };

} // namespace quorva
