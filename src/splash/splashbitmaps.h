#pragma once

#include "target/plan.h"

#include <QImage>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace quorva {

// A launch screen's images by their paths, each drawn and encoded side by side when they go
// into the plan.
class SplashBitmaps {
public:
    void add(const QString& path, std::function<QImage()> make) { m_makers.emplace_back(path, std::move(make)); }
    // Encoded in the order added; the first that can't be made refuses the plan. False then.
    bool into(Plan& plan) const;

private:
    std::vector<std::pair<QString, std::function<QImage()>>> m_makers;
};

} // namespace quorva
