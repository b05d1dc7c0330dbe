#include "android/androiddensity.h"

namespace quorva {

const std::vector<AndroidDensity>& androidDensities()
{
    static const std::vector<AndroidDensity> densities = {
        {QStringLiteral("mipmap-mdpi"), 1},    {QStringLiteral("mipmap-hdpi"), 1.5},
        {QStringLiteral("mipmap-xhdpi"), 2},   {QStringLiteral("mipmap-xxhdpi"), 3},
        {QStringLiteral("mipmap-xxxhdpi"), 4},
    };
    return densities;
}

} // namespace quorva
