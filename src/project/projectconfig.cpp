#include "project/projectconfig.h"

#include "android/androidiconplan.h"
#include "android/androidkind.h"
#include "apple/appleiconkinds.h"
#include "desktop/desktopicons.h"
#include "desktop/desktopkinds.h"
#include "expo/expokind.h"
#include "image/csscolour.h"
#include "msix/msixkind.h"
#include "splash/splashkind.h"
#include "support/paths.h"
#include "tauri/taurikind.h"
#include "web/webkind.h"

#include <QRegularExpression>

#include <toml++/toml.h>

#include <algorithm>
#include <cmath>

namespace quorva {
namespace fs = std::filesystem;
namespace {

using Key = OptionSpec;
using Type = OptionType;

const std::vector<Key>& sharedKeys()
{
    return sharedOptions();
}

// Each table's keys in the order quorva.toml lists them: its path first, then its command's
// options, then what it may override of the shared keys.
const OptionSchema& keysOf(TargetKind kind)
{
    return entryOf(kind)->options();
}

class Reader {
public:
    Reader(const fs::path& root, const QString& shown)
        : m_root(absoluteFolder(root)), m_repository(repositoryOf(root)), m_shown(shown)
    {
    }

    QStringList errors;

    void error(int line, const QString& text)
    {
        errors << QStringLiteral("%1:%2: %3").arg(m_shown).arg(line).arg(text);
    }

    static int lineOf(const toml::node& node) { return int(node.source().begin.line); }

    // A TOML value as what it is (a bool, a number, a text, a list of sides or of words), checked
    // against what the key takes, as a flag's value is.
    std::optional<ConfigValue> value(const Key& key, const toml::node& node, const QString& table)
    {
        const int line = lineOf(node);
        std::optional<ConfigValue> candidate;
        if (node.is_boolean())
            candidate = ConfigValue{*node.value<bool>(), line};
        else if (node.is_number())
            candidate = ConfigValue{*node.value<double>(), line};
        else if (node.is_string())
            candidate = ConfigValue{QString::fromStdString(*node.value<std::string>()), line};
        else if (const toml::array* array = node.as_array()) {
            std::vector<int> sides;
            QStringList words;
            for (const toml::node& item : *array) {
                if (item.is_integer() && words.isEmpty())
                    sides.push_back(int(std::clamp<int64_t>(*item.value<int64_t>(), -1, 1 << 20)));
                else if (item.is_string() && sides.empty())
                    words << QString::fromStdString(*item.value<std::string>());
                else
                    sides.push_back(-1); // a list of neither
            }
            candidate = (key.type == Type::SlotKinds || key.type == Type::Choices) && sides.empty()
                ? ConfigValue{words, line}
                : ConfigValue{sides, line};
        }
        const PathRules rules{m_root, m_repository};
        switch (candidate ? checkValue(key, *candidate, &rules) : ValueCheck::Wrong) {
        case ValueCheck::Taken:
            return candidate;
        case ValueCheck::Wrong:
            error(line, QStringLiteral("'%1'%2 takes %3").arg(QLatin1String(key.key), table, typeText(key)));
            break;
        case ValueCheck::OutOfProject:
            error(line,
                  QStringLiteral("'%1'%2 leads out of the project: %3")
                      .arg(QLatin1String(key.key), table, candidate->text()));
            break;
        case ValueCheck::OutOfRepository:
            error(line,
                  QStringLiteral("'%1'%2 leads out of the repository that holds the project: %3")
                      .arg(QLatin1String(key.key), table, candidate->text()));
            break;
        }
        return std::nullopt;
    }

    // A table's keys read against the keys it takes; where says which table, for the messages.
    ConfigTable table(const toml::table& in, const std::vector<Key>& keys, const QString& where,
                      const std::function<bool(const std::string&, const toml::node&)>& other = {})
    {
        ConfigTable out;
        for (const auto& [name, node] : in) {
            const std::string key(name.str());
            const auto known = std::find_if(keys.begin(), keys.end(), [&](const Key& each) { return key == each.key; });
            if (known == keys.end()) {
                if (!other || !other(key, node))
                    unknown(key, node, keys, where, other != nullptr);
                continue;
            }
            if (auto read = value(*known, node, where))
                out[QLatin1String(known->key)] = std::move(*read);
        }
        return out;
    }

    // A key no table takes, said with the name it most likely misspells: a table's own keys, and
    // at a level that holds tables, the tables' names.
    void unknown(const std::string& name, const toml::node& node, const std::vector<Key>& keys, const QString& where,
                 bool tables)
    {
        const QString key = QString::fromStdString(name);
        QStringList known;
        for (const Key& each : keys)
            known << QLatin1String(each.key);
        if (tables && node.is_table()) {
            QStringList names{QStringLiteral("flavors")};
            for (const TargetKind kind : targetKinds())
                names << targetName(kind);
            const QString close = closest(key, names);
            error(lineOf(node),
                  QStringLiteral("unknown table [%1]%2%3")
                      .arg(key, where.isEmpty() ? QString() : where,
                           close.isEmpty() ? QString() : QStringLiteral("; did you mean [%1]?").arg(close)));
            return;
        }
        const QString close = closest(key, known);
        error(lineOf(node),
              QStringLiteral("unknown key '%1'%2%3")
                  .arg(key, where, close.isEmpty() ? QString() : QStringLiteral("; did you mean '%1'?").arg(close)));
    }

    // The name nearest to a misspelt one, two edits at most; none when none is that near.
    static QString closest(const QString& word, const QStringList& names)
    {
        QString best;
        qsizetype bestDistance = 3;
        for (const QString& name : names) {
            std::vector<qsizetype> row(std::size_t(name.size()) + 1);
            for (qsizetype j = 0; j <= name.size(); ++j)
                row[std::size_t(j)] = j;
            for (qsizetype i = 1; i <= word.size(); ++i) {
                qsizetype diagonal = row[0];
                row[0] = i;
                for (qsizetype j = 1; j <= name.size(); ++j) {
                    const qsizetype above = row[std::size_t(j)];
                    row[std::size_t(j)] = std::min(
                        {above + 1, row[std::size_t(j - 1)] + 1, diagonal + (word[i - 1] == name[j - 1] ? 0 : 1)});
                    diagonal = above;
                }
            }
            if (row.back() < bestDistance) {
                bestDistance = row.back();
                best = name;
            }
        }
        return best;
    }

    // Keys that are given, if wrongly, have been said wrong already.
    void requireKeys(const toml::table& table, const std::vector<Key>& keys, int line, const QString& where)
    {
        for (const Key& key : keys)
            if (key.required && !table.contains(key.key))
                error(line, QStringLiteral("%1 needs '%2'").arg(where, QLatin1String(key.key)));
    }

    // The target tables of the top level or of a flavor; true when the key was one.
    bool target(const std::string& key, const toml::node& node, std::map<TargetKind, ConfigTable>& into,
                const QString& flavor, bool required)
    {
        const std::optional<TargetKind> kind = targetNamed(QString::fromStdString(key));
        if (!kind)
            return false;
        const QString where = flavor.isEmpty()
            ? QStringLiteral(" in [%1]").arg(QString::fromStdString(key))
            : QStringLiteral(" in [flavors.%1.%2]").arg(flavor, QString::fromStdString(key));
        const toml::table* table = node.as_table();
        if (!table) {
            error(lineOf(node), QStringLiteral("'%1' must be a table").arg(QString::fromStdString(key)));
            return true;
        }
        into[*kind] = this->table(*table, keysOf(*kind), where);
        if (required)
            requireKeys(*table, keysOf(*kind), lineOf(node), where.mid(4));
        return true;
    }

private:
    fs::path m_root;
    fs::path m_repository;
    QString m_shown;
};

QString bareOrQuoted(const QString& key)
{
    static const QRegularExpression bare(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return bare.match(key).hasMatch() ? key : tomlString(key);
}

QString valueText(const ConfigValue& value)
{
    if (const bool* flag = std::get_if<bool>(&value.value))
        return *flag ? QStringLiteral("true") : QStringLiteral("false");
    if (const double* number = std::get_if<double>(&value.value))
        return std::floor(*number) == *number ? QString::number(qint64(*number)) : QString::number(*number);
    if (const std::vector<int>* sides = std::get_if<std::vector<int>>(&value.value)) {
        QStringList parts;
        for (const int side : *sides)
            parts << QString::number(side);
        return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    if (const QStringList* words = std::get_if<QStringList>(&value.value)) {
        QStringList parts;
        for (const QString& word : *words)
            parts << tomlString(word);
        return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    return tomlString(std::get<QString>(value.value));
}

void writeTable(QString& out, const ConfigTable& table, const std::vector<Key>& keys)
{
    for (const Key& key : keys)
        if (const auto value = table.find(QLatin1String(key.key)); value != table.end())
            out += QStringLiteral("%1 = %2\n").arg(QLatin1String(key.key), valueText(value->second));
}

} // namespace

QString tomlString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

namespace {

// Each kind of target sync writes, in the order quorva.toml lists them and sync's lines come, with
// the one entry point that makes its files.
struct SyncKind {
    TargetKind kind;
    const OutputKind* entry;
};
const std::vector<SyncKind>& syncKinds()
{
    static const std::vector<SyncKind> kinds = {
        {TargetKind{iosIconKind.table}, &iosIconKind},
        {TargetKind{macosIconKind.table}, &macosIconKind},
        {TargetKind{watchosIconKind.table}, &watchosIconKind},
        {TargetKind{iconComposerKind.table}, &iconComposerKind},
        {TargetKind{androidKind.table}, &androidKind},
        {TargetKind{webKind.table}, &webKind},
        {TargetKind{icoKind.table}, &icoKind},
        {TargetKind{icnsKind.table}, &icnsKind},
        {TargetKind{hicolorKind.table}, &hicolorKind},
        {TargetKind{tauriKind.table}, &tauriKind},
        {TargetKind{msixKind.table}, &msixKind},
        {TargetKind{expoKind.table}, &expoKind},
        {TargetKind{splashKind.table}, &splashKind},
    };
    return kinds;
}

std::size_t orderOf(TargetKind kind)
{
    const std::vector<SyncKind>& kinds = syncKinds();
    const auto found
        = std::find_if(kinds.begin(), kinds.end(), [&](const SyncKind& each) { return each.kind == kind; });
    return std::size_t(found - kinds.begin());
}

} // namespace

bool operator<(TargetKind a, TargetKind b)
{
    const std::size_t first = orderOf(a), second = orderOf(b);
    return first != second ? first < second : a.table < b.table;
}

const std::vector<TargetKind>& targetKinds()
{
    static const std::vector<TargetKind> kinds = [] {
        std::vector<TargetKind> out;
        for (const SyncKind& each : syncKinds())
            out.push_back(each.kind);
        return out;
    }();
    return kinds;
}

QString targetName(TargetKind kind)
{
    return QString::fromLatin1(kind.table.data(), qsizetype(kind.table.size()));
}

std::optional<TargetKind> targetNamed(const QString& name)
{
    for (const TargetKind kind : targetKinds())
        if (targetName(kind) == name)
            return kind;
    return std::nullopt;
}

const OutputKind* entryOf(TargetKind kind)
{
    for (const SyncKind& each : syncKinds())
        if (each.kind == kind)
            return each.entry;
    return nullptr;
}

bool isAppleSet(TargetKind kind)
{
    return kind == TargetKind::iOS || kind == TargetKind::macOS || kind == TargetKind::watchOS;
}

ReadProjectConfig readProjectConfig(const QByteArray& text, const fs::path& root, const QString& shownName)
{
    ReadProjectConfig read;
    toml::table document;
    try {
        document = toml::parse(std::string_view(text.constData(), std::size_t(text.size())));
    } catch (const toml::parse_error& error) {
        read.errors << QStringLiteral("%1:%2: %3")
                           .arg(shownName)
                           .arg(error.source().begin.line)
                           .arg(QString::fromUtf8(error.description().data(), qsizetype(error.description().size())));
        return read;
    }
    Reader reader(root, shownName);
    ProjectConfig config;
    config.shared
        = reader.table(document, sharedKeys(), QString(), [&](const std::string& key, const toml::node& node) {
              if (reader.target(key, node, config.targets, QString(), true))
                  return true;
              if (key != "flavors")
                  return false;
              const toml::table* flavors = node.as_table();
              if (!flavors) {
                  reader.error(Reader::lineOf(node), QStringLiteral("'flavors' must be a table of flavors"));
                  return true;
              }
              for (const auto& [name, flavorNode] : *flavors) {
                  const QString flavor = QString::fromStdString(std::string(name.str()));
                  const toml::table* table = flavorNode.as_table();
                  static const QRegularExpression flavorName(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
                  if (!table || !flavorName.match(flavor).hasMatch()) {
                      reader.error(Reader::lineOf(flavorNode),
                                   QStringLiteral(
                                       "[flavors.%1] must be a table named as Gradle names a flavor (a letter, "
                                       "then letters, digits and '_')")
                                       .arg(flavor));
                      continue;
                  }
                  FlavorConfig& into = config.flavors[flavor];
                  into.shared = reader.table(*table, sharedKeys(), QStringLiteral(" in [flavors.%1]").arg(flavor),
                                             [&](const std::string& key, const toml::node& target) {
                                                 return reader.target(key, target, into.targets, flavor, false);
                                             });
              }
              return true;
          });
    if (!document.contains("source"))
        reader.error(1, QStringLiteral("'source' is not set: the image every icon is made from"));
    if (config.targets.empty())
        reader.error(1, QStringLiteral("no target: add a table such as [ios] or [android]"));
    read.errors = reader.errors;
    if (read.errors.isEmpty())
        read.config = std::move(config);
    return read;
}

QByteArray writeProjectConfig(const ProjectConfig& config)
{
    QString out
        = QStringLiteral("# Quorva's icons for this project: quorva-cli sync writes every target below from the\n"
                         "# source, and sync --check says whether they are up to date. Paths are relative to\n"
                         "# this file's folder.\n");
    writeTable(out, config.shared, sharedKeys());
    for (const TargetKind kind : targetKinds())
        if (const auto table = config.targets.find(kind); table != config.targets.end()) {
            out += QStringLiteral("\n[%1]\n").arg(targetName(kind));
            writeTable(out, table->second, keysOf(kind));
        }
    for (const auto& [kind, left] : config.leftOut) {
        QString table;
        writeTable(table, left.table, keysOf(kind));
        out += QStringLiteral("\n# Left out, as sync would refuse it: %1\n# [%2]\n").arg(left.why, targetName(kind));
        for (const QString& line : table.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            out += QStringLiteral("# %1\n").arg(line);
    }
    for (const auto& [name, flavor] : config.flavors) {
        // A flavor's own table only where it has keys of its own, or nothing else to stand for it.
        if (!flavor.shared.empty() || flavor.targets.empty())
            out += QStringLiteral("\n[flavors.%1]\n").arg(bareOrQuoted(name));
        writeTable(out, flavor.shared, sharedKeys());
        for (const TargetKind kind : targetKinds())
            if (const auto table = flavor.targets.find(kind); table != flavor.targets.end()) {
                out += QStringLiteral("\n[flavors.%1.%2]\n").arg(bareOrQuoted(name), targetName(kind));
                writeTable(out, table->second, keysOf(kind));
            }
    }
    return out.toUtf8();
}

std::optional<QByteArray> withSharedKeys(const QByteArray& text, const ProjectConfig& config)
{
    toml::table document;
    try {
        document = toml::parse(std::string_view(text.constData(), std::size_t(text.size())));
    } catch (const toml::parse_error&) {
        return std::nullopt;
    }
    QList<QByteArray> lines = text.split('\n');
    std::map<int, std::optional<QString>> replaced; // line (from 0): its new text, or none to drop it
    QStringList added;
    for (const Key& key : sharedKeys()) {
        const auto value = config.shared.find(QLatin1String(key.key));
        const QString line = value == config.shared.end()
            ? QString()
            : QStringLiteral("%1 = %2").arg(QLatin1String(key.key), valueText(value->second));
        if (const toml::node* node = document.get(key.key)) {
            const int at = int(node->source().begin.line) - 1;
            if (at < 0 || at >= lines.size() || node->source().end.line != node->source().begin.line)
                return std::nullopt; // a value over several lines: not one line to change
            replaced[at] = line.isEmpty() ? std::nullopt : std::optional(line);
        } else if (!line.isEmpty()) {
            added << line;
        }
    }
    QList<QByteArray> out;
    bool placed = added.isEmpty();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!placed && lines[i].trimmed().startsWith('[')) {
            for (const QString& line : added)
                out << line.toUtf8();
            placed = true;
        }
        if (const auto change = replaced.find(int(i)); change != replaced.end()) {
            if (change->second)
                out << change->second->toUtf8();
            continue;
        }
        out << lines[i];
    }
    if (!placed)
        for (const QString& line : added)
            out.insert(out.size() - (out.isEmpty() || !out.last().isEmpty() ? 0 : 1), line.toUtf8());
    return out.join('\n');
}

} // namespace quorva
