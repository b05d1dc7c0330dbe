#pragma once

#include "target/plan.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// A launch screen's images by their paths, each drawn and encoded side by side when they go
// into the plan.
class SplashBitmaps {
public:
    void add(const QString& path, std::function<QImage()> make);
    // An image that encodes itself: a screen of one colour with art over it.
    void addEncoded(const QString& path, std::function<std::optional<QByteArray>()> make)
    {
        m_makers.emplace_back(path, std::move(make));
    }
    // A step the images need done before any is made (their art drawn at a size they share), done
    // side by side with the others.
    void prepare(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    // The same bytes as an image added, at a second path: drawn and encoded once.
    void copy(const QString& from, const QString& to) { m_copies.emplace_back(from, to); }
    // Encoded in the order added; the first that can't be made refuses the plan. False then.
    bool into(Plan& plan) const;

private:
    std::vector<std::pair<QString, std::function<std::optional<QByteArray>()>>> m_makers;
    std::vector<std::pair<QString, QString>> m_copies;
    std::vector<std::function<void()>> m_steps;
};

} // namespace quorva
