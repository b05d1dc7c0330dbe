#include "expo/expoconfig.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace quorva {
namespace {

// The keys Quorva reads, below expo (or the top level), and what each image is for.
const std::map<QString, ExpoImage::Role>& imageKeys()
{
    static const std::map<QString, ExpoImage::Role> keys = {
        {"icon", ExpoImage::Role::Icon},
        {"android.icon", ExpoImage::Role::Icon},
        {"ios.icon", ExpoImage::Role::Icon},
        {"ios.icon.light", ExpoImage::Role::Icon},
        {"ios.icon.dark", ExpoImage::Role::Dark},
        {"ios.icon.tinted", ExpoImage::Role::Tinted},
        {"android.adaptiveIcon.foregroundImage", ExpoImage::Role::Foreground},
        {"android.adaptiveIcon.monochromeImage", ExpoImage::Role::Monochrome},
        {"web.favicon", ExpoImage::Role::Favicon},
    };
    return keys;
}
const QString backgroundKey = QStringLiteral("android.adaptiveIcon.backgroundColor");

// The key below expo: "expo.ios.icon" and "ios.icon" are the same.
QString below(const QString& path)
{
    return path.startsWith(QLatin1String("expo.")) ? path.mid(5) : path;
}

// A launch screen's key, below splash ("image"), android.splash or ios.splash ("ios.image");
// empty for any other.
QString splashKey(const QString& key)
{
    if (key.startsWith(QLatin1String("splash.")))
        return key.mid(7);
    for (const char* platform : {"android", "ios"}) {
        const QString prefix = QLatin1String(platform) + QStringLiteral(".splash.");
        if (key.startsWith(prefix))
            return QLatin1String(platform) + QLatin1Char('.') + key.mid(prefix.size());
    }
    return {};
}

void take(ExpoConfig& config, const QString& path, const std::optional<QString>& value)
{
    const QString key = below(path);
    if (const QString splash = splashKey(key); !splash.isEmpty()) {
        if (value)
            config.splash.emplace(splash, *value);
        return;
    }
    const bool image = imageKeys().count(key) > 0;
    if (!image && key != backgroundKey)
        return;
    if (!value) {
        if (!config.unread.contains(key))
            config.unread << key;
        return;
    }
    if (image)
        config.images.push_back({imageKeys().at(key), key, *value});
    else
        config.backgroundColour = *value;
}

void fromJson(ExpoConfig& config, const QJsonObject& object, const QString& prefix)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = prefix + it.key();
        if (it->isObject())
            fromJson(config, it->toObject(), path + QLatin1Char('.'));
        else if (it->isString())
            take(config, path, it->toString());
        else if (it->isDouble() && !splashKey(below(path)).isEmpty())
            take(config, path, QString::number(it->toDouble()));
        else if (it->isArray() && below(path) == QLatin1String("plugins"))
            // ["expo-splash-screen", {…}]: its options are the launch screen's, and win.
            for (const QJsonValue& plugin : it->toArray())
                if (plugin.isArray() && plugin.toArray().at(0).toString() == QLatin1String("expo-splash-screen"))
                    for (auto option = plugin.toArray().at(1).toObject(); const QString& name : option.keys()) {
                        if (option[name].isObject()) {
                            const QJsonObject nested = option[name].toObject();
                            for (const QString& inner : nested.keys())
                                config.splash[name + QLatin1Char('.') + inner] = nested[inner].isDouble()
                                    ? QString::number(nested[inner].toDouble())
                                    : nested[inner].toString();
                        } else {
                            config.splash[name] = option[name].isDouble() ? QString::number(option[name].toDouble())
                                                                          : option[name].toString();
                        }
                    }
    }
}

QString dotted(const QStringList& path, const QString& key)
{
    QStringList parts;
    for (const QString& part : path + QStringList{key})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QLatin1Char('.'));
}

// An object literal of JavaScript or TypeScript read for its `key: "string"` pairs by the path of
// braces around them; a value of any other kind (a variable, a call, a condition) counts as unread.
void fromScript(ExpoConfig& config, const QString& text)
{
    QStringList path;        // the keys of the braces open now
    QString key;             // the key just read, before its ':'
    bool afterColon = false; // a value is due
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('/') && i + 1 < size && text[i + 1] == QLatin1Char('/')) {
            while (i < size && text[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < size && text[i + 1] == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? size : end + 1;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('`')) {
            QString literal;
            qsizetype j = i + 1;
            bool plain = true;
            for (; j < size && text[j] != c; ++j) {
                if (text[j] == QLatin1Char('\\') && j + 1 < size)
                    literal += text[++j];
                else
                    literal += text[j];
                if (c == QLatin1Char('`') && text[j] == QLatin1Char('$'))
                    plain = false; // a template with values in it
            }
            i = j;
            if (afterColon) {
                // A string value, unless an operator follows it (a + b, a ?? b).
                qsizetype next = i + 1;
                while (next < size && text[next].isSpace())
                    ++next;
                const bool ends = next >= size || QStringLiteral(",}\n;)").contains(text[next]);
                take(config, dotted(path, key), plain && ends ? std::optional(literal) : std::nullopt);
                afterColon = false;
                key.clear();
            } else {
                key = literal; // a quoted key
            }
            continue;
        }
        if (c == QLatin1Char('{')) {
            path << (afterColon ? key : QString());
            afterColon = false;
            key.clear();
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (!path.isEmpty())
                path.removeLast();
            afterColon = false;
            key.clear();
            continue;
        }
        if (c == QLatin1Char(':') && !key.isEmpty()) {
            afterColon = true;
            continue;
        }
        if (c == QLatin1Char(',')) {
            afterColon = false;
            key.clear();
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$')) {
            qsizetype j = i;
            while (j < size
                   && (text[j].isLetterOrNumber() || text[j] == QLatin1Char('_') || text[j] == QLatin1Char('$')))
                ++j;
            const QString word = text.mid(i, j - i);
            i = j - 1;
            if (afterColon) {
                take(config, dotted(path, key), std::nullopt);
                afterColon = false;
                key.clear();
            } else {
                key = word;
            }
            continue;
        }
    }
}

} // namespace

ExpoConfig readExpoConfig(const QByteArray& text, bool script)
{
    ExpoConfig config;
    if (script) {
        fromScript(config, QString::fromUtf8(text));
        return config;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (!document.isObject()) {
        config.error = QStringLiteral("it is no JSON object (%1)").arg(error.errorString());
        return config;
    }
    const QJsonObject root = document.object();
    fromJson(config, root.contains(QLatin1String("expo")) ? root.value(QLatin1String("expo")).toObject() : root,
             QString());
    return config;
}

} // namespace quorva
