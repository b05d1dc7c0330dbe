#include "project/synclock.h"

#include "support/sha256.h"

#include <toml++/toml.h>

namespace quorva {
namespace {

QString list(const QStringList& items)
{
    QStringList quotedItems;
    for (const QString& item : items)
        quotedItems << tomlString(item);
    return QLatin1Char('[') + quotedItems.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QStringList strings(const toml::node_view<const toml::node>& node)
{
    QStringList out;
    if (const toml::array* array = node.as_array())
        for (const toml::node& item : *array)
            if (const auto text = item.value<std::string>())
                out << QString::fromStdString(*text);
    return out;
}

} // namespace

QString digestOf(const QByteArray& bytes)
{
    return QString::fromLatin1(sha256(bytes).toHex());
}

QString inputsDigest(const ProjectTarget& target, const std::vector<KindInput>& inputs)
{
    Sha256 hash;
    const auto field = [&hash](const QByteArray& bytes) {
        hash.add(QByteArray::number(bytes.size()) + ':');
        hash.add(bytes);
    };
    field(QByteArrayLiteral(QUORVA_VERSION));
    field(target.label().toUtf8());
    for (const auto& [key, value] : target.settings) {
        field(key.toUtf8());
        if (const bool* flag = std::get_if<bool>(&value.value))
            field(*flag ? "true" : "false");
        else if (const double* number = std::get_if<double>(&value.value))
            field(QByteArray::number(*number, 'g', 17));
        else if (const std::vector<int>* sides = std::get_if<std::vector<int>>(&value.value))
            for (const int side : *sides)
                field(QByteArray::number(side));
        else if (const QStringList* words = std::get_if<QStringList>(&value.value))
            for (const QString& word : *words)
                field(word.toUtf8());
        else
            field(value.text().toUtf8());
    }
    for (const KindInput& input : inputs) {
        field(inputName(input).toUtf8());
        field(input.digest);
    }
    return QString::fromLatin1(hash.result().toHex());
}

std::vector<KindInput> inputsNow(const QStringList& reads, const std::filesystem::path& root)
{
    std::vector<KindInput> inputs;
    for (const QString& name : reads)
        if (std::optional<KindInput> input = inputNamed(name)) {
            input->digest = currentDigest(*input, root);
            inputs.push_back(*input);
        }
    return inputs;
}

SyncLock readSyncLock(const QByteArray& text)
{
    SyncLock lock;
    toml::table document;
    try {
        document = toml::parse(std::string_view(text.constData(), std::size_t(text.size())));
    } catch (const toml::parse_error&) {
        return lock;
    }
    if (const toml::table* targets = document["targets"].as_table())
        for (const auto& [key, node] : *targets) {
            const toml::table* table = node.as_table();
            if (!table)
                continue;
            LockedTarget& target = lock.targets[QString::fromStdString(std::string(key.str()))];
            target.inputs = QString::fromStdString((*table)["inputs"].value_or(std::string()));
            target.place = QString::fromStdString((*table)["place"].value_or(std::string()));
            target.reads = strings((*table)["reads"]);
            target.folders = strings((*table)["folders"]);
            target.lists = strings((*table)["lists"]);
            if (const toml::table* files = (*table)["files"].as_table())
                for (const auto& [path, digest] : *files)
                    if (const auto text = digest.value<std::string>())
                        target.files[QString::fromStdString(std::string(path.str()))] = QString::fromStdString(*text);
        }
    return lock;
}

QByteArray writeSyncLock(const SyncLock& lock)
{
    QString out = QStringLiteral("# What quorva-cli sync last wrote, so that sync --check can tell without making the\n"
                                 "# icons again whether they are up to date. Commit it with quorva.toml.\n"
                                 "version = 1\n");
    for (const auto& [key, target] : lock.targets) {
        out += QStringLiteral("\n[targets.%1]\ninputs = %2\nplace = %3\n")
                   .arg(tomlString(key), tomlString(target.inputs), tomlString(target.place));
        if (!target.reads.isEmpty())
            out += QStringLiteral("reads = %1\n").arg(list(target.reads));
        if (!target.folders.isEmpty())
            out += QStringLiteral("folders = %1\n").arg(list(target.folders));
        if (!target.lists.isEmpty())
            out += QStringLiteral("lists = %1\n").arg(list(target.lists));
        out += QStringLiteral("\n[targets.%1.files]\n").arg(tomlString(key));
        for (const auto& [path, digest] : target.files)
            out += QStringLiteral("%1 = %2\n").arg(tomlString(path), tomlString(digest));
    }
    return out.toUtf8();
}

} // namespace quorva
