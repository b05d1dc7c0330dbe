#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace quorva {

// An .icns element type that carries a PNG, and the pixels of its image.
struct IcnsType {
    const char* type;
    int pixels;
};
// Every PNG type from 16 to 1024 px, the @2x ones among them, smallest first.
const std::vector<IcnsType>& icnsPngTypes();

// One element of an .icns file.
struct IcnsElement {
    QByteArray type; // four bytes: "ic08"
    QByteArray data;
};

// The elements of an .icns file, in order; or, with none, why it is no .icns file.
struct IcnsFile {
    std::vector<IcnsElement> elements;
    QString error;
};
IcnsFile readIcns(const QByteArray& bytes);

// An .icns file of the elements, in the order given.
QByteArray encodeIcns(const std::vector<IcnsElement>& elements);

} // namespace quorva
