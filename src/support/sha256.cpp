#include "support/sha256.h"

#include <gcrypt.h>

#include <mutex>
#include <new>

namespace quorva {
namespace {

constexpr int digestBytes = 32;

// libgcrypt wants its version checked before first use; no secure memory is needed for digests.
void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    });
}

} // namespace

QByteArray sha256(const QByteArray& bytes)
{
    initialiseOnce();
    QByteArray digest(digestBytes, Qt::Uninitialized);
    gcry_md_hash_buffer(GCRY_MD_SHA256, digest.data(), bytes.constData(), std::size_t(bytes.size()));
    return digest;
}

Sha256::Sha256()
{
    initialiseOnce();
    if (gcry_md_open(&m_handle, GCRY_MD_SHA256, 0) != 0)
        throw std::bad_alloc();
}

Sha256::~Sha256()
{
    gcry_md_close(m_handle);
}

void Sha256::add(const QByteArray& bytes)
{
    gcry_md_write(m_handle, bytes.constData(), std::size_t(bytes.size()));
}

QByteArray Sha256::result()
{
    return QByteArray(reinterpret_cast<const char*>(gcry_md_read(m_handle, GCRY_MD_SHA256)), digestBytes);
}

} // namespace quorva
