// RunDeflate's streams inflate back to what was given, whatever the runs: zeros added as runs or
// found among bytes, runs across blocks, runs too short to be matches.
#include "png/huffmandeflate.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace quorva;
using Bytes = std::vector<std::uint8_t>;

namespace {

// What zlib inflates the raw stream to; it must end exactly at the stream's end.
Bytes inflated(const QByteArray& stream, std::size_t expected)
{
    Bytes back(expected + 16);
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = back.data();
    z.avail_out = static_cast<uInt>(back.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(z.avail_in, 0u) << "bytes after the final block";
    back.resize(z.total_out);
    inflateEnd(&z);
    return back;
}

} // namespace

TEST(RunDeflate, bytesAndRunsOfZeros_inflateBackWhole_data)
{
    std::mt19937 random(7);
    const auto noise = [&](std::size_t length) {
        Bytes bytes(length);
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>(random() % 5); // zeros among them, in short runs
        return bytes;
    };
    struct Row {
        const char* name;
        std::vector<std::pair<Bytes, std::size_t>> pieces; // bytes added, then zeros added as a run
    };
    const std::vector<Row> rows = {
        {"a run first", {{{}, 1000}, {{1, 2, 3}, 0}}},
        {"runs of every short length", {{{9}, 1}, {{9}, 2}, {{9}, 3}, {{9}, 4}, {{9}, 257}, {{9}, 258}, {{9}, 259}}},
        {"a run after a zero", {{{0}, 5}, {{0, 0}, 600}}},
        {"noise", {{noise(100000), 0}}},
        {"a screen's rows, past many blocks", {}},
    };
    for (Row row : rows) {
        if (row.pieces.empty())
            for (int y = 0; y < 3000; ++y)
                row.pieces.push_back({y % 7 ? Bytes{2} : noise(300), 8196});
        QByteArray stream;
        Bytes expected;
        {
            RunDeflate deflate(stream);
            for (const auto& [bytes, zeros] : row.pieces) {
                deflate.add(bytes.data(), bytes.size());
                deflate.addZeros(zeros);
                expected.insert(expected.end(), bytes.begin(), bytes.end());
                expected.insert(expected.end(), zeros, 0);
            }
            deflate.finish();
        }
        EXPECT_EQ(inflated(stream, expected.size()), expected) << row.name;
    }
}

TEST(RunDeflate, aScreenOfOneColour_costsAFewBitsARow)
{
    QByteArray stream;
    RunDeflate deflate(stream);
    for (int y = 0; y < 2732; ++y) {
        const std::uint8_t up = 2;
        deflate.add(&up, 1);
        deflate.addZeros(3 * 2732);
    }
    deflate.finish();
    EXPECT_LT(stream.size(), 2732 * 16) << "at most 16 bytes a row of 8 kB";
}
