#include "png/huffmandeflate.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>
#include <utility>

namespace quorva {
namespace {

// Large enough that a block's code table costs nothing against its data, small enough that the
// codes follow changes across an image.
constexpr std::size_t blockSize = 256 * 1024;
constexpr int literalSymbols = 257; // the 256 byte values and the end of block
constexpr int endOfBlock = 256;
constexpr int maxCodeBits = 15;
constexpr int maxCodeLengthBits = 7;

// Code lengths of a Huffman code for these frequencies, none longer than maxBits; a symbol of
// frequency zero gets none. When the tree grows too deep, frequencies are halved (none below
// one) until it fits, which costs next to nothing in size for byte data.
template<std::size_t N>
std::array<std::uint8_t, N> codeLengths(std::array<std::uint64_t, N> frequencies, int maxBits)
{
    std::array<std::uint8_t, N> lengths{};
    for (;;) {
        struct Node {
            std::uint64_t weight;
            int left, right; // children; -1 for a leaf
        };
        std::vector<Node> nodes;
        std::vector<int> leafOf(N, -1);
        using Entry = std::pair<std::uint64_t, int>; // weight, node; ties broken by node
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
        for (std::size_t s = 0; s < N; ++s) {
            if (frequencies[s] == 0)
                continue;
            leafOf[s] = static_cast<int>(nodes.size());
            queue.emplace(frequencies[s], static_cast<int>(nodes.size()));
            nodes.push_back({frequencies[s], -1, -1});
        }
        lengths.fill(0);
        if (nodes.size() == 1) { // a lone symbol still needs one bit
            for (std::size_t s = 0; s < N; ++s)
                if (leafOf[s] >= 0)
                    lengths[s] = 1;
            return lengths;
        }
        while (queue.size() > 1) {
            const auto [w1, a] = queue.top();
            queue.pop();
            const auto [w2, b] = queue.top();
            queue.pop();
            queue.emplace(w1 + w2, static_cast<int>(nodes.size()));
            nodes.push_back({w1 + w2, a, b});
        }
        // Depths from the root, which is the last node made; children come before parents.
        std::vector<int> depth(nodes.size(), 0);
        int deepest = 0;
        for (int n = static_cast<int>(nodes.size()) - 1; n >= 0; --n) {
            if (nodes[static_cast<std::size_t>(n)].left < 0)
                continue;
            const int d = depth[static_cast<std::size_t>(n)] + 1;
            depth[static_cast<std::size_t>(nodes[static_cast<std::size_t>(n)].left)] = d;
            depth[static_cast<std::size_t>(nodes[static_cast<std::size_t>(n)].right)] = d;
            deepest = std::max(deepest, d);
        }
        if (deepest <= maxBits) {
            for (std::size_t s = 0; s < N; ++s)
                if (leafOf[s] >= 0)
                    lengths[s] = static_cast<std::uint8_t>(depth[static_cast<std::size_t>(leafOf[s])]);
            return lengths;
        }
        for (auto& f : frequencies)
            if (f)
                f = (f + 1) / 2;
    }
}

// Canonical codes for the lengths, bit-reversed because deflate sends codes from their most
// significant bit first into a stream that is filled from the least significant bit.
template<std::size_t N>
std::array<std::uint16_t, N> canonicalCodes(const std::array<std::uint8_t, N>& lengths)
{
    std::array<int, maxCodeBits + 1> count{};
    for (const auto length : lengths)
        ++count[length];
    count[0] = 0;
    std::array<int, maxCodeBits + 2> next{};
    int code = 0;
    for (int bits = 1; bits <= maxCodeBits; ++bits) {
        code = (code + count[static_cast<std::size_t>(bits - 1)]) << 1;
        next[static_cast<std::size_t>(bits)] = code;
    }
    std::array<std::uint16_t, N> codes{};
    for (std::size_t s = 0; s < N; ++s) {
        const int length = lengths[s];
        if (!length)
            continue;
        int value = next[static_cast<std::size_t>(length)]++;
        int reversed = 0;
        for (int i = 0; i < length; ++i, value >>= 1)
            reversed = (reversed << 1) | (value & 1);
        codes[s] = static_cast<std::uint16_t>(reversed);
    }
    return codes;
}

class BitWriter {
public:
    BitWriter(std::uint8_t* out, std::uint64_t pending, unsigned pendingBits)
        : m_out(out), m_bits(pending), m_count(pendingBits)
    {
    }

    void put(std::uint32_t bits, unsigned count)
    {
        m_bits |= static_cast<std::uint64_t>(bits) << m_count;
        m_count += count;
        if (m_count >= 32) {
            m_out[0] = static_cast<std::uint8_t>(m_bits);
            m_out[1] = static_cast<std::uint8_t>(m_bits >> 8);
            m_out[2] = static_cast<std::uint8_t>(m_bits >> 16);
            m_out[3] = static_cast<std::uint8_t>(m_bits >> 24);
            m_out += 4;
            m_bits >>= 32;
            m_count -= 32;
        }
    }

    // Every byte by its code: three codes at a time fit the 64-bit buffer with what is pending,
    // so the bytes are stored without a branch per code.
    void putLiterals(const std::uint8_t* data, std::size_t length,
                     const std::array<std::uint16_t, literalSymbols>& codes,
                     const std::array<std::uint8_t, literalSymbols>& lengths)
    {
        flushBytes();
        std::array<std::uint32_t, 256> table;
        for (std::size_t b = 0; b < 256; ++b)
            table[b] = codes[b] | (std::uint32_t{lengths[b]} << 16);
        std::uint64_t bits = m_bits;
        unsigned count = m_count;
        std::uint8_t* out = m_out;
        std::size_t i = 0;
        for (; i + 3 <= length; i += 3) {
            for (std::size_t k = 0; k < 3; ++k) {
                const std::uint32_t entry = table[data[i + k]];
                bits |= static_cast<std::uint64_t>(entry & 0xffff) << count;
                count += entry >> 16;
            }
            const std::uint64_t word = bits;
            for (unsigned b = 0; b < 8; ++b) // little-endian store, one instruction where it can be
                out[b] = static_cast<std::uint8_t>(word >> (8 * b));
            const unsigned whole = count >> 3;
            out += whole;
            bits = whole ? bits >> (8 * whole) : bits;
            count &= 7;
        }
        m_bits = bits;
        m_count = count;
        m_out = out;
        for (; i < length; ++i)
            put(codes[data[i]], lengths[data[i]]);
    }

    // Writes out the whole bytes held, keeping fewer than eight bits.
    void flushBytes()
    {
        while (m_count >= 8) {
            *m_out++ = static_cast<std::uint8_t>(m_bits);
            m_bits >>= 8;
            m_count -= 8;
        }
    }

    // Pads the last byte with zero bits.
    void flushAll()
    {
        flushBytes();
        if (m_count) {
            *m_out++ = static_cast<std::uint8_t>(m_bits);
            m_bits = 0;
            m_count = 0;
        }
    }

    std::uint8_t* position() const { return m_out; }
    std::uint64_t pending() const { return m_bits; }
    unsigned pendingBits() const { return m_count; }

private:
    std::uint8_t* m_out;
    std::uint64_t m_bits;
    unsigned m_count;
};

// One step of the run-length coding of code lengths: a symbol of the code length alphabet
// (0-15 a length, 16 repeat the previous, 17 and 18 runs of zeros) and its extra bits.
struct LengthStep {
    std::uint8_t symbol;
    std::uint8_t extra;
};

std::vector<LengthStep> runLengthCoded(const std::vector<std::uint8_t>& lengths)
{
    std::vector<LengthStep> steps;
    std::size_t i = 0;
    while (i < lengths.size()) {
        const std::uint8_t length = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == length)
            ++run;
        i += run;
        if (length == 0) {
            while (run >= 11) {
                const std::size_t r = std::min<std::size_t>(run, 138);
                steps.push_back({18, static_cast<std::uint8_t>(r - 11)});
                run -= r;
            }
            if (run >= 3) {
                steps.push_back({17, static_cast<std::uint8_t>(run - 3)});
                run = 0;
            }
        } else {
            steps.push_back({length, 0});
            --run;
            while (run >= 3) {
                const std::size_t r = std::min<std::size_t>(run, 6);
                steps.push_back({16, static_cast<std::uint8_t>(r - 3)});
                run -= r;
            }
        }
        for (; run > 0; --run)
            steps.push_back({length, 0});
    }
    return steps;
}

// The lengths of matches: each length code's first length and its extra bits.
constexpr int lengthCodes = 29;
constexpr std::array<std::uint16_t, lengthCodes> lengthBase
    = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, lengthCodes> lengthExtraBits
    = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int literalLengthSymbols = 257 + lengthCodes;
constexpr std::size_t longestMatch = 258;
constexpr std::size_t shortestMatch = 3;
constexpr std::size_t blockTokens = 64 * 1024;

constexpr std::array<std::uint8_t, 19> codeLengthOrder
    = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr std::array<unsigned, 19> extraBitsOf = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

} // namespace

// A block's code tables: the literal and length codes' lengths run-length coded, and two
// distance codes of one bit each (some inflaters want a complete distance code, as zlib writes it).
template<std::size_t N>
void putTables(BitWriter& out, bool final, const std::array<std::uint8_t, N>& lengths)
{
    std::vector<std::uint8_t> allLengths(lengths.begin(), lengths.end());
    allLengths.push_back(1);
    allLengths.push_back(1);
    const std::vector<LengthStep> steps = runLengthCoded(allLengths);
    std::array<std::uint64_t, 19> stepFrequencies{};
    for (const LengthStep& step : steps)
        ++stepFrequencies[step.symbol];
    const auto stepLengths = codeLengths(stepFrequencies, maxCodeLengthBits);
    const auto stepCodes = canonicalCodes(stepLengths);
    unsigned codeLengthCount = 19;
    while (codeLengthCount > 4 && stepLengths[codeLengthOrder[codeLengthCount - 1]] == 0)
        --codeLengthCount;
    out.put(final ? 1 : 0, 1);
    out.put(2, 2); // dynamic Huffman codes
    out.put(static_cast<std::uint32_t>(N - 257), 5);
    out.put(2 - 1, 5);
    out.put(codeLengthCount - 4, 4);
    for (unsigned i = 0; i < codeLengthCount; ++i)
        out.put(stepLengths[codeLengthOrder[i]], 3);
    for (const LengthStep& step : steps) {
        out.put(stepCodes[step.symbol], stepLengths[step.symbol]);
        if (const unsigned extra = extraBitsOf[step.symbol])
            out.put(step.extra, extra);
    }
}

// A block's end: its code, then the stream's bits written to a whole byte when it is the last,
// else those that fill a byte, the rest kept for the next block; out cut to what was written.
void endBlock(BitWriter& writer, std::uint16_t code, std::uint8_t length, bool final, QByteArray& out,
              std::uint64_t& pending, unsigned& pendingBits)
{
    writer.put(code, length);
    if (final)
        writer.flushAll();
    else
        writer.flushBytes();
    pending = writer.pending();
    pendingBits = writer.pendingBits();
    out.resize(writer.position() - reinterpret_cast<std::uint8_t*>(out.data()));
}

HuffmanDeflate::HuffmanDeflate(QByteArray& out) : m_out(out), m_block(blockSize)
{
}

void HuffmanDeflate::add(const std::uint8_t* data, std::size_t length)
{
    while (length > 0) {
        const std::size_t taken = std::min(length, blockSize - m_used);
        std::copy(data, data + taken, m_block.data() + m_used);
        m_used += taken;
        data += taken;
        length -= taken;
        if (m_used == blockSize)
            emitBlock(false);
    }
}

void HuffmanDeflate::finish()
{
    emitBlock(true);
}

void HuffmanDeflate::emitBlock(bool final)
{
    // Four tables, so that runs of equal bytes do not wait on one counter.
    std::array<std::array<std::uint32_t, 256>, 4> counts{};
    const std::uint8_t* bytes = m_block.data();
    std::size_t i = 0;
    for (; i + 4 <= m_used; i += 4) {
        ++counts[0][bytes[i]];
        ++counts[1][bytes[i + 1]];
        ++counts[2][bytes[i + 2]];
        ++counts[3][bytes[i + 3]];
    }
    for (; i < m_used; ++i)
        ++counts[0][bytes[i]];
    std::array<std::uint64_t, literalSymbols> frequencies{};
    for (std::size_t b = 0; b < 256; ++b)
        frequencies[b] = std::uint64_t{counts[0][b]} + counts[1][b] + counts[2][b] + counts[3][b];
    frequencies[endOfBlock] = 1;
    const auto lengths = codeLengths(frequencies, maxCodeBits);
    const auto codes = canonicalCodes(lengths);

    // Room for the header (under 300 bytes) and every byte at the longest code.
    const qsizetype start = m_out.size();
    m_out.resize(start + static_cast<qsizetype>(m_used * maxCodeBits / 8 + 1024));
    BitWriter out(reinterpret_cast<std::uint8_t*>(m_out.data()) + start, m_pending, m_pendingBits);

    putTables(out, final, lengths);

    out.putLiterals(m_block.data(), m_used, codes, lengths);
    endBlock(out, codes[endOfBlock], lengths[endOfBlock], final, m_out, m_pending, m_pendingBits);
    m_used = 0;
}

RunDeflate::RunDeflate(QByteArray& out) : m_out(out)
{
    m_tokens.reserve(blockTokens + longestMatch);
}

void RunDeflate::literal(std::uint8_t byte)
{
    m_tokens.push_back({byte, 0});
    m_afterZero = byte == 0;
    if (m_tokens.size() >= blockTokens)
        emitBlock(false);
}

void RunDeflate::addZeros(std::size_t count)
{
    if (count > 0 && !m_afterZero) {
        literal(0);
        --count;
    }
    while (count >= shortestMatch) {
        const std::size_t length = std::min(count, longestMatch);
        int code = lengthCodes - 1;
        while (lengthBase[static_cast<std::size_t>(code)] > length)
            --code;
        m_tokens.push_back({static_cast<std::uint16_t>(257 + code),
                            static_cast<std::uint16_t>(length - lengthBase[static_cast<std::size_t>(code)])});
        count -= length;
        if (m_tokens.size() >= blockTokens)
            emitBlock(false);
    }
    for (; count > 0; --count)
        literal(0);
}

void RunDeflate::add(const std::uint8_t* data, std::size_t length)
{
    std::size_t i = 0;
    while (i < length) {
        if (data[i] != 0) {
            literal(data[i++]);
            continue;
        }
        // The run's end, eight bytes at a time while they are all zero.
        std::size_t run = 1;
        for (std::uint64_t word = 0; i + run + 8 <= length; run += 8) {
            std::memcpy(&word, data + i + run, 8);
            if (word != 0)
                break;
        }
        while (i + run < length && data[i + run] == 0)
            ++run;
        addZeros(run);
        i += run;
    }
}

void RunDeflate::finish()
{
    emitBlock(true);
}

void RunDeflate::emitBlock(bool final)
{
    std::array<std::uint64_t, literalLengthSymbols> frequencies{};
    for (const Token& token : m_tokens)
        ++frequencies[token.symbol];
    frequencies[endOfBlock] = 1;
    const auto lengths = codeLengths(frequencies, maxCodeBits);
    const auto codes = canonicalCodes(lengths);

    // Room for the header (under 300 bytes) and every token at the longest code and its extra bits
    // and distance code.
    const qsizetype start = m_out.size();
    m_out.resize(start + static_cast<qsizetype>(m_tokens.size() * (maxCodeBits + 6) / 8 + 1024));
    BitWriter out(reinterpret_cast<std::uint8_t*>(m_out.data()) + start, m_pending, m_pendingBits);
    putTables(out, final, lengths);
    for (const Token& token : m_tokens) {
        out.put(codes[token.symbol], lengths[token.symbol]);
        if (token.symbol > endOfBlock) {
            if (const unsigned extra = lengthExtraBits[token.symbol - 257u])
                out.put(token.extra, extra);
            out.put(0, 1); // distance code 0: distance 1
        }
    }
    endBlock(out, codes[endOfBlock], lengths[endOfBlock], final, m_out, m_pending, m_pendingBits);
    m_tokens.clear();
}

} // namespace quorva
