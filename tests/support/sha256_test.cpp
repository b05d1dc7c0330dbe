// The digests a lock records are SHA-256 as every other tool computes it: Qt's for the same bytes,
// whole or given in pieces, at the sizes where a block's padding changes.
#include "support/sha256.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

using namespace quorva;

namespace {

QByteArray bytesOf(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 131 + i / 7);
    return bytes;
}

} // namespace

TEST(Sha256, everySizeAroundABlock_isQtsDigest)
{
    for (const int size : {0, 1, 55, 56, 63, 64, 65, 119, 120, 1000, 1 << 20}) {
        const QByteArray bytes = bytesOf(size);
        EXPECT_EQ(sha256(bytes), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)) << size;
    }
}

TEST(Sha256, piecesGivenInTurn_areTheDigestOfTheirBytesJoined)
{
    const QByteArray bytes = bytesOf(5000);
    Sha256 hash;
    for (qsizetype at = 0; at < bytes.size(); at += 333)
        hash.add(bytes.mid(at, 333));
    EXPECT_EQ(hash.result(), sha256(bytes));
}
