#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorva {

// A streaming deflate encoder that codes every byte as a literal, each block with Huffman codes
// fitted to its own bytes. For filtered photographs, where repeated strings are rare, this gives
// files within a few percent of full LZ77 compression at many times its speed, and it needs no
// more memory than one block, so a large image is never held twice.
class HuffmanDeflate {
public:
    // Appends the raw deflate stream to out.
    explicit HuffmanDeflate(QByteArray& out);

    void add(const std::uint8_t* data, std::size_t length);
    // Ends the stream with its final block. Nothing may be added afterwards.
    void finish();

private:
    void emitBlock(bool final);

    QByteArray& m_out;
    std::vector<std::uint8_t> m_block;
    std::size_t m_used = 0;
    // Bits of the last block that do not fill a byte yet; blocks follow each other bit by bit.
    std::uint64_t m_pending = 0;
    unsigned m_pendingBits = 0;
};

} // namespace quorva
