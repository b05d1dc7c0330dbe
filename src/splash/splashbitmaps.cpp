#include "splash/splashbitmaps.h"

#include "generation/sidebyside.h"
#include "image/image.h"

#include <optional>

namespace quorva {

void SplashBitmaps::add(const QString& path, std::function<QImage()> make)
{
    m_makers.emplace_back(path, [make = std::move(make)] { return pngData(*makeImage(make())).bytes; });
}

bool SplashBitmaps::into(Plan& plan) const
{
    runSideBySide(m_steps);
    std::vector<std::optional<QByteArray>> bytes(m_makers.size());
    std::vector<std::function<void()>> tasks;
    for (std::size_t i = 0; i < m_makers.size(); ++i)
        tasks.push_back([&, i] { bytes[i] = m_makers[i].second(); });
    runSideBySide(tasks);
    for (std::size_t i = 0; i < m_makers.size(); ++i) {
        if (!bytes[i]) {
            plan.refusal = QStringLiteral("%1: Couldn't make the image").arg(m_makers[i].first);
            return false;
        }
        plan.add(m_makers[i].first, *bytes[i]);
    }
    for (const auto& [from, to] : m_copies)
        if (const PlannedFile* made = plan.find(from))
            plan.add(to, made->bytes);
    return true;
}

} // namespace quorva
