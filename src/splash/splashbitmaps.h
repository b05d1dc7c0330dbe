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
    // The same bytes as an image added, at a second path: drawn and encoded once.
    void copy(const QString& from, const QString& to) { m_copies.emplace_back(from, to); }
    // Encoded in the order added; the first that can't be made refuses the plan. False then.
    bool into(Plan& plan) const;

private:
    std::vector<std::pair<QString, std::function<QImage()>>> m_makers;
    std::vector<std::pair<QString, QString>> m_copies;
};

} // namespace quorva
