#include "project/targetplacement.h"

#include "support/paths.h"

#include <atomic>
#include <thread>

namespace quorva {
namespace fs = std::filesystem;
namespace {

// A target made by its kind's one entry point, from its settings.
TargetPlacement placeByKind(const OutputKind& kind, const ProjectTarget& target, const fs::path& root,
                            SourceImages& images, const LockedTarget* earlier)
{
    KindInputs inputs(root);
    // In a project the lock keeps what the last sync wrote.
    KindRequest request{target.settings, root, images, inputs, QStringList()};
    for (const TargetKind table : target.platforms)
        request.tables << targetName(table);
    request.flavor = target.flavor;
    if (earlier)
        for (const auto& [file, digest] : earlier->files)
            *request.earlier << file;
    KindOutput made = kind.make(request);
    TargetPlacement out;
    out.placements = std::move(made.placements);
    out.where = made.where;
    out.failure = made.failure;
    // How quorva.toml settles a refusal.
    const QString table = target.flavor ? QStringLiteral("flavors.%1.%2").arg(*target.flavor, QLatin1String(kind.table))
                                        : QLatin1String(kind.table);
    if (out.failure && !made.settledBy.isEmpty())
        *out.failure += QStringLiteral(": say which with %1 = \"…\" in [%2]").arg(made.settledBy, table);
    if (out.failure && made.forcing)
        *out.failure += QStringLiteral("; force = true in [%1] %2").arg(table, *made.forcing);
    out.sourceFailed = made.sourceFailed;
    out.notes = made.notes;
    out.replaced = made.replaced;
    out.inputs = inputs.recorded();
    return out;
}

} // namespace

TargetPlacement placeTarget(const ProjectTarget& target, const fs::path& root, SourceImages& images,
                            const LockedTarget* earlier)
{
    return placeByKind(*entryOf(target.kind), target, root, images, earlier);
}

std::vector<TargetPlacement> placeTargets(const std::vector<const ProjectTarget*>& targets, const fs::path& root,
                                          const SyncLock& lock)
{
    SourceImages images(root);
    std::vector<TargetPlacement> made(targets.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < targets.size(); i = next++) {
            const auto locked = lock.targets.find(targets[i]->key());
            made[i] = placeTarget(*targets[i], root, images, locked != lock.targets.end() ? &locked->second : nullptr);
        }
    };
    const std::size_t helpers = std::min<std::size_t>(targets.size(), std::max(1u, std::thread::hardware_concurrency()))
        - (targets.empty() ? 0 : 1);
    std::vector<std::thread> threads;
    for (std::size_t helper = 0; helper < helpers; ++helper)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return made;
}

} // namespace quorva
