#include "desktop/icnsfile.h"

#include <QtEndian>

namespace quorva {
namespace {

constexpr int headerBytes = 8; // a type and a big-endian length that counts the header too

void putBigEndian32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

const std::vector<IcnsType>& icnsPngTypes()
{
    static const std::vector<IcnsType> types = {
        {"icp4", 16},  {"ic11", 32},  {"icp5", 32},  {"icp6", 64},  {"ic12", 64},   {"ic07", 128},
        {"ic08", 256}, {"ic13", 256}, {"ic09", 512}, {"ic14", 512}, {"ic10", 1024},
    };
    return types;
}

QByteArray encodeIcns(const std::vector<IcnsElement>& elements)
{
    QByteArray body;
    for (const IcnsElement& element : elements) {
        body.append(element.type.left(4));
        putBigEndian32(body, quint32(headerBytes + element.data.size()));
        body.append(element.data);
    }
    QByteArray out("icns");
    putBigEndian32(out, quint32(headerBytes + body.size()));
    return out + body;
}

IcnsFile readIcns(const QByteArray& bytes)
{
    IcnsFile file;
    if (bytes.size() < headerBytes || !bytes.startsWith("icns")) {
        file.error = QStringLiteral("it is not an .icns file");
        return file;
    }
    const quint32 total = qFromBigEndian<quint32>(bytes.constData() + 4);
    if (total != quint32(bytes.size())) {
        file.error = QStringLiteral("its header gives %1 bytes, the file has %2").arg(total).arg(bytes.size());
        return file;
    }
    qsizetype at = headerBytes;
    while (at < bytes.size()) {
        if (bytes.size() - at < headerBytes) {
            file.elements.clear(); // a broken file is none: no image of it is taken
            file.error = QStringLiteral("an element is cut short");
            return file;
        }
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at + 4);
        if (length < headerBytes || length > quint32(bytes.size() - at)) {
            file.elements.clear();
            file.error = QStringLiteral("the element %1 lies past the end of the file")
                             .arg(QString::fromLatin1(bytes.mid(at, 4)));
            return file;
        }
        file.elements.push_back({bytes.mid(at, 4), bytes.mid(at + headerBytes, length - headerBytes)});
        at += length;
    }
    if (file.elements.empty())
        file.error = QStringLiteral("it holds no image");
    return file;
}

} // namespace quorva
