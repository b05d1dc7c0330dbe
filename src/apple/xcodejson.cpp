#include "apple/xcodejson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorva {
namespace {

QByteArray scalar(const QJsonValue& value)
{
    // A one-element array's compact form gives the value as JSON writes it, escapes and all.
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

void write(const QJsonValue& value, int depth, QByteArray& out)
{
    const QByteArray indent(2 * (depth + 1), ' '), closing(2 * depth, ' ');
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (object.isEmpty()) {
            out += "{\n\n" + closing + "}";
            return;
        }
        out += "{\n";
        const QStringList keys = object.keys(); // QJsonObject keeps them sorted
        for (qsizetype i = 0; i < keys.size(); ++i) {
            out += indent + scalar(keys[i]) + " : ";
            write(object.value(keys[i]), depth + 1, out);
            out += i + 1 < keys.size() ? ",\n" : "\n";
        }
        out += closing + "}";
    } else if (value.isArray()) {
        const QJsonArray array = value.toArray();
        if (array.isEmpty()) {
            out += "[\n\n" + closing + "]";
            return;
        }
        out += "[\n";
        for (qsizetype i = 0; i < array.size(); ++i) {
            out += indent;
            write(array.at(i), depth + 1, out);
            out += i + 1 < array.size() ? ",\n" : "\n";
        }
        out += closing + "]";
    } else {
        out += scalar(value);
    }
}

} // namespace

QByteArray xcodeJson(const QJsonValue& value)
{
    QByteArray out;
    write(value, 0, out);
    return out + '\n';
}

} // namespace quorva
