#include "png/huffmandeflate.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace quorva;
using Bytes = std::vector<std::uint8_t>;

namespace {

QByteArray deflated(const Bytes& data, std::size_t piece)
{
    QByteArray out;
    HuffmanDeflate deflate(out);
    for (std::size_t i = 0; i < data.size(); i += piece)
        deflate.add(data.data() + i, std::min(piece, data.size() - i));
    deflate.finish();
    return out;
}

// Inflated by zlib, which must give the input back and find the stream's end exactly.
void expectRoundTrip(const Bytes& data, std::size_t piece, const char* what)
{
    const QByteArray stream = deflated(data, piece);
    Bytes back(data.size() + 16);
    z_stream z{};
    ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = back.data();
    z.avail_out = static_cast<uInt>(back.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << what;
    EXPECT_EQ(z.avail_in, 0u) << what << ": bytes after the final block";
    back.resize(z.total_out);
    inflateEnd(&z);
    EXPECT_TRUE(back == data) << what;
}

} // namespace

TEST(HuffmanDeflate, roundTripsWithinFifteenBitCodes_andShrinksFilteredPhotographs)
{
    std::mt19937 random(7);
    Bytes uniform(1'000'003); // several blocks, the last one partial
    for (auto& b : uniform)
        b = static_cast<std::uint8_t>(random());
    Bytes residuals(600'000); // mostly small values, as filtered photographs are
    std::geometric_distribution<int> small(0.3);
    for (auto& b : residuals)
        b = static_cast<std::uint8_t>(small(random) * (random() % 2 ? 1 : -1));
    // Frequencies doubling from symbol to symbol give an unlimited Huffman tree one level per
    // symbol, eighteen here; deflate allows fifteen.
    Bytes skewed;
    for (int symbol = 0; symbol < 18; ++symbol)
        skewed.insert(skewed.end(), std::size_t{1} << symbol, static_cast<std::uint8_t>(symbol));
    std::shuffle(skewed.begin(), skewed.end(), std::mt19937(3));
    ASSERT_LE(skewed.size(), 256u * 1024u) << "one block, one code";

    expectRoundTrip({}, 1, "nothing");
    expectRoundTrip({42}, 1, "one byte");
    expectRoundTrip(Bytes(300'000, 0), 4096, "one value only");
    expectRoundTrip(uniform, 1'000'003, "uniform bytes in one piece");
    expectRoundTrip(uniform, 977, "uniform bytes in odd pieces");
    expectRoundTrip(residuals, 65536, "small residuals");
    expectRoundTrip(Bytes(256 * 1024, 9), 256 * 1024, "exactly one block");
    expectRoundTrip(skewed, skewed.size(), "doubling frequencies");
    EXPECT_LT(deflated(residuals, residuals.size()).size(), qsizetype(residuals.size() / 2));
}
