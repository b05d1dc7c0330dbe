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

// A streaming deflate encoder for filtered flat art laid on a colour: each run of zeros (what a
// filtered row of one colour is, but for its first pixel) coded as matches at distance 1, every
// other byte as a literal, each block with Huffman codes fitted to its own symbols. A large
// screen of one colour costs a few bits a row, and its rows need not be held at all.
class RunDeflate {
public:
    explicit RunDeflate(QByteArray& out);

    // Bytes, their runs of zeros found.
    void add(const std::uint8_t* data, std::size_t length);
    // So many zero bytes.
    void addZeros(std::size_t count);
    // Ends the stream with its final block. Nothing may be added afterwards.
    void finish();

private:
    struct Token {
        std::uint16_t symbol; // a literal byte, or a length code of a match at distance 1
        std::uint16_t extra;  // the length's extra bits
    };
    void literal(std::uint8_t byte);
    void emitBlock(bool final);

    QByteArray& m_out;
    std::vector<Token> m_tokens;
    bool m_afterZero = false; // the last byte was zero: a run can repeat it
    std::uint64_t m_pending = 0;
    unsigned m_pendingBits = 0;
};

} // namespace quorva
