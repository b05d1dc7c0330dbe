#include "xcodeproj/openstepplist.h"

#include <cctype>

namespace quorva {
namespace {

constexpr int maxDepth = 256;
constexpr qsizetype maxTextBytes = 256 << 20;

bool isUnquotedCharacter(char c)
{
    // What Xcode writes without quotes; other bytes of an unquoted word end it.
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '/' || c == ':' || c == '.'
        || c == '-' || c == '+' || (static_cast<unsigned char>(c) >= 0x80);
}

class Parser {
public:
    explicit Parser(const QByteArray& text) : m_text(text) {}

    ParsedPlist run()
    {
        ParsedPlist parsed;
        if (m_text.size() > maxTextBytes)
            return fail(QStringLiteral("it is larger than %1 MiB").arg(maxTextBytes >> 20));
        PlistValue root;
        if (!value(root, 0))
            return fail(m_error);
        skipSpace();
        if (m_at < m_text.size())
            return fail(QStringLiteral("there is text after the property list"));
        parsed.value = std::move(root);
        return parsed;
    }

private:
    ParsedPlist fail(const QString& why) const
    {
        ParsedPlist parsed;
        parsed.error = QStringLiteral("%1 at line %2").arg(why).arg(m_text.left(m_at).count('\n') + 1);
        return parsed;
    }
    bool error(const QString& why)
    {
        if (m_error.isEmpty())
            m_error = why;
        return false;
    }

    void skipSpace()
    {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (std::isspace(static_cast<unsigned char>(c))) {
                ++m_at;
            } else if (c == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
                const qsizetype end = m_text.indexOf('\n', m_at);
                m_at = end < 0 ? m_text.size() : end + 1;
            } else if (c == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '*') {
                const qsizetype end = m_text.indexOf("*/", m_at + 2);
                m_at = end < 0 ? m_text.size() : end + 2;
            } else {
                return;
            }
        }
    }

    bool expect(char c)
    {
        skipSpace();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return error(QStringLiteral("'%1' expected").arg(QLatin1Char(c)));
    }

    bool value(PlistValue& out, int depth)
    {
        if (depth > maxDepth)
            return error(QStringLiteral("it nests deeper than %1 levels").arg(maxDepth));
        skipSpace();
        if (m_at >= m_text.size())
            return error(QStringLiteral("it ends where a value should be"));
        const char c = m_text[m_at];
        if (c == '{')
            return dictionary(out, depth);
        if (c == '(')
            return array(out, depth);
        out.kind = PlistValue::Kind::String;
        if (c == '"')
            return quoted(out.string);
        if (c == '<')
            return data(out.string);
        return word(out.string);
    }

    bool dictionary(PlistValue& out, int depth)
    {
        out.kind = PlistValue::Kind::Dictionary;
        ++m_at;
        for (;;) {
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            PlistValue key;
            if (!value(key, depth + 1))
                return false;
            if (!key.isString())
                return error(QStringLiteral("a dictionary key is not a string"));
            PlistValue item;
            if (!expect('=') || !value(item, depth + 1) || !expect(';'))
                return false;
            out.dictionary.push_back({std::move(key.string), std::move(item)});
        }
    }

    bool array(PlistValue& out, int depth)
    {
        out.kind = PlistValue::Kind::Array;
        ++m_at;
        for (;;) {
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == ')') {
                ++m_at;
                return true;
            }
            PlistValue item;
            if (!value(item, depth + 1))
                return false;
            out.array.push_back(std::move(item));
            skipSpace();
            if (m_at < m_text.size() && m_text[m_at] == ',')
                ++m_at;
            else if (m_at >= m_text.size() || m_text[m_at] != ')')
                return error(QStringLiteral("',' or ')' expected"));
        }
    }

    bool quoted(QString& out)
    {
        ++m_at;
        QByteArray bytes;
        while (m_at < m_text.size() && m_text[m_at] != '"') {
            char c = m_text[m_at++];
            if (c == '\\') {
                if (m_at >= m_text.size())
                    break;
                c = m_text[m_at++];
                switch (c) {
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 'U': { // \UXXXX, a UTF-16 unit
                    bool ok = false;
                    const ushort unit = m_text.mid(m_at, 4).toUShort(&ok, 16);
                    if (!ok)
                        return error(QStringLiteral("a \\U escape without four hex digits"));
                    m_at += 4;
                    bytes += QString(QChar(unit)).toUtf8();
                    continue;
                }
                default:
                    break; // \" \\ and the rest stand for themselves
                }
            }
            bytes += c;
        }
        if (m_at >= m_text.size())
            return error(QStringLiteral("a quoted string does not end"));
        ++m_at;
        out = QString::fromUtf8(bytes);
        return true;
    }

    bool data(QString& out)
    {
        const qsizetype end = m_text.indexOf('>', m_at);
        if (end < 0)
            return error(QStringLiteral("data does not end"));
        out = QString::fromLatin1(m_text.mid(m_at + 1, end - m_at - 1));
        m_at = end + 1;
        return true;
    }

    bool word(QString& out)
    {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && isUnquotedCharacter(m_text[m_at]))
            ++m_at;
        if (m_at == start)
            return error(QStringLiteral("unexpected '%1'").arg(QLatin1Char(m_text[m_at])));
        out = QString::fromUtf8(m_text.mid(start, m_at - start));
        return true;
    }

    const QByteArray& m_text;
    qsizetype m_at = 0;
    QString m_error;
};

} // namespace

const PlistValue* PlistValue::find(QStringView key) const
{
    for (const PlistEntry& entry : dictionary)
        if (entry.key == key)
            return &entry.value;
    return nullptr;
}

QString PlistValue::text(QStringView key) const
{
    const PlistValue* found = find(key);
    return found && found->isString() ? found->string : QString();
}

ParsedPlist parseOpenStepPlist(const QByteArray& text)
{
    return Parser(text).run();
}

} // namespace quorva
