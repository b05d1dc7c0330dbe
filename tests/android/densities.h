#pragma once

// Android's densities as its documents give them, written out so that a wrong entry in the
// product's own table can't pass unseen: each folder's qualifier, the 48 dp launcher icon's
// pixels, the 108 dp adaptive layer's and the 24 dp notification icon's.

#include <string>
#include <vector>

namespace quorva::test {

struct Density {
    std::string name;
    int legacy;
    int layer;
    int notification;
    std::string mipmap() const { return "mipmap-" + name; }
    std::string drawable() const { return "drawable-" + name; }
};

inline const std::vector<Density> densities = {{"mdpi", 48, 108, 24},
                                               {"hdpi", 72, 162, 36},
                                               {"xhdpi", 96, 216, 48},
                                               {"xxhdpi", 144, 324, 72},
                                               {"xxxhdpi", 192, 432, 96}};

} // namespace quorva::test
