// The sound chunks taken out of WAVE files as strangers' tools write them: whatever surrounds "fmt " and "data",
// in whatever order and with whatever sizes, the decoder is given one plain file or nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "media/wave.h"
#include "media/wave_bytes.h"
#include "media/wave_chunks.h"

namespace vesk::media {
namespace {

using test::chunk;
using test::fmtChunk;
using test::le32;
using test::riff;
using test::sampleBytes;
using test::WaveFormat;

const WaveFormat kMono16{};
const std::string kFmt = fmtChunk(kMono16);
const std::string kSamples = sampleBytes(kMono16, 1000);
const std::string kData = chunk("data", kSamples);
const std::string kPlain = riff({kFmt, kData});

struct ChunkCase {
  const char* name;
  std::string bytes;
  std::optional<std::string> rebuilt;
};
void PrintTo(const ChunkCase& c, std::ostream* out) { *out << c.name; }

class SoundChunksTest : public testing::TestWithParam<ChunkCase> {};

TEST_P(SoundChunksTest, KeepsFormatFactAndDataInOrder) {
  EXPECT_EQ(soundChunksOfWave(GetParam().bytes), GetParam().rebuilt);
}

std::string bigEndian32(std::uint32_t v) {
  const std::string le = le32(v);
  return {le[3], le[2], le[1], le[0]};
}

INSTANTIATE_TEST_SUITE_P(
    Files, SoundChunksTest,
    testing::Values(ChunkCase{"plain_file_unchanged", kPlain, kPlain},
                    ChunkCase{"list_and_cue_left_out",
                              riff({chunk("LIST", "INFOISFT"), kFmt, chunk("cue ", "1234"), kData}), kPlain},
                    ChunkCase{"data_before_fmt_put_after", riff({kData, kFmt}), kPlain},
                    ChunkCase{"odd_chunk_padded_over", riff({kFmt, chunk("junk", "xyz"), kData}), kPlain},
                    ChunkCase{"fact_kept_between", riff({chunk("fact", le32(1000)), kFmt, kData}),
                              riff({kFmt, chunk("fact", le32(1000)), kData})},
                    ChunkCase{"first_data_chunk_only", riff({kFmt, kData, chunk("data", "more")}), kPlain},
                    ChunkCase{"data_size_past_the_end_keeps_what_is_there",
                              riff({kFmt, chunk("data", kSamples, 0x7FFFFFF0)}), kPlain},
                    ChunkCase{"data_size_all_ones", riff({kFmt, chunk("data", kSamples, 0xFFFFFFFF)}), kPlain},
                    ChunkCase{"riff_size_ignored", riff({kFmt, kData}, 12), kPlain},
                    // A list whose size runs past the end hides the chunks after it, as it would any reader.
                    ChunkCase{"list_size_past_the_end", riff({chunk("LIST", "INFO", 0xFF00000F), kFmt, kData}),
                              std::nullopt},
                    ChunkCase{"chunk_header_cut_short", riff({kFmt, kData}) + "LI", kPlain},
                    ChunkCase{"big_endian_riff",
                              "RIFX" + bigEndian32(4 + 8 + 4 + 8 + 2) + "WAVE" + "fmt " + bigEndian32(4) + "abcd" +
                                  "junk" + bigEndian32(1) + std::string("z\0", 2) + "data" + bigEndian32(2) + "xy",
                              "RIFX" + bigEndian32(4 + 12 + 10) + "WAVE" + "fmt " + bigEndian32(4) + "abcd" + "data" +
                                  bigEndian32(2) + "xy"},
                    ChunkCase{"no_fmt", riff({kData}), std::nullopt}, ChunkCase{"no_data", riff({kFmt}), std::nullopt},
                    ChunkCase{"not_wave", "RIFF" + le32(4) + "AVI ", std::nullopt},
                    ChunkCase{"rf64", "RF64" + le32(4) + "WAVE", std::nullopt}, ChunkCase{"empty", "", std::nullopt}),
    [](const testing::TestParamInfo<ChunkCase>& info) { return std::string(info.param.name); });

// A file found by fuzzing: a list of 4 GB in front of the format made the decoder walk it byte by byte.
TEST(SoundChunks, AListSizedPastTheFileIsNotWalked) {
  const std::string bytes = "RIFF" + le32(0x3A00BC) + "WAVE" + chunk("LIST", std::string(200, '\xFF'), 0xFF00000F) +
                            "INFO" + kFmt + "data" + le32(3);
  EXPECT_TRUE(decodeWave(bytes)->empty());
}

}  // namespace
}  // namespace vesk::media
