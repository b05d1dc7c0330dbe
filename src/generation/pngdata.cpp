#include "generation/pngdata.h"

namespace quorva {

PngResult pngData(const Image& image)
{
    return image.encodedPng();
}

} // namespace quorva
