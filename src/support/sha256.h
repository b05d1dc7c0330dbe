#pragma once

#include <QByteArray>

struct gcry_md_handle;

namespace quorva {

// SHA-256 on libgcrypt, which uses the processor's SHA instructions where it has them: several
// times Qt's speed on the megabytes of icons whose digests a sync records.
QByteArray sha256(const QByteArray& bytes);

// The digest of pieces given one after another, as of their bytes joined.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const QByteArray& bytes);
    QByteArray result();

private:
    gcry_md_handle* m_handle = nullptr; // owned: closed with the digest
};

} // namespace quorva
