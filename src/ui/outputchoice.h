#pragma once

#include <optional>

namespace quorva {

// What the window makes, by the segment of the segmented control that chooses it.
enum class OutputChoice { AppIconSet = 0, ImageSet = 1, AndroidIcon = 2, DesktopWeb = 3 };

// The kind a segment stands for; nothing for no segment (-1) or one the control does not have.
inline std::optional<OutputChoice> outputChoiceOf(int segment)
{
    if (segment >= int(OutputChoice::AppIconSet) && segment <= int(OutputChoice::DesktopWeb))
        return OutputChoice(segment);
    return std::nullopt;
}

} // namespace quorva
