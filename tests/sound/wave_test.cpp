#include "ui/wave.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"
#include "ui/wave_clips.h"

namespace zs {
namespace {

uint32_t U32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct Chunk {
  std::string id;
  uint32_t size;
  const unsigned char* body;
};
std::vector<Chunk> Chunks(const unsigned char* wav, size_t n) {
  std::vector<Chunk> out;
  for (size_t at = 12; at + 8 <= n;) {
    const uint32_t size = U32(wav + at + 4);
    out.push_back({std::string(reinterpret_cast<const char*>(wav + at), 4), size, wav + at + 8});
    at += 8 + size + (size & 1);
  }
  return out;
}

TEST(WaveClips, HaveTheFormatsAndLengthsOfTheWindowsSounds) {
  ASSERT_EQ(std::memcmp(kWave1Clip, "RIFF", 4), 0);
  EXPECT_EQ(U32(kWave1Clip + 4), sizeof kWave1Clip - 8);
  EXPECT_EQ(std::memcmp(kWave1Clip + 8, "WAVE", 4), 0);
  auto c = Chunks(kWave1Clip, sizeof kWave1Clip);
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].id, "fmt ");
  EXPECT_EQ(c[0].size, 18u);
  EXPECT_EQ(U16(c[0].body), 1);           // PCM
  EXPECT_EQ(U16(c[0].body + 2), 1);       // mono
  EXPECT_EQ(U32(c[0].body + 4), 11025u);  // samples per second
  EXPECT_EQ(U16(c[0].body + 14), 8);      // bits
  EXPECT_EQ(c[1].id, "fact");
  EXPECT_EQ(c[1].size, 4u);
  EXPECT_EQ(c[2].id, "data");
  EXPECT_EQ(c[2].size, 624u);

  ASSERT_EQ(std::memcmp(kWave2Clip, "RIFF", 4), 0);
  EXPECT_EQ(U32(kWave2Clip + 4), sizeof kWave2Clip - 8);
  c = Chunks(kWave2Clip, sizeof kWave2Clip);
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].id, "fmt ");
  EXPECT_EQ(c[0].size, 16u);
  EXPECT_EQ(U32(c[0].body + 4), 22050u);
  EXPECT_EQ(U16(c[0].body + 14), 16);
  EXPECT_EQ(c[1].id, "data");
  EXPECT_EQ(c[1].size, 53820u);
  // Not silence: the clip really sounds.
  int loud = 0;
  for (uint32_t i = 0; i + 1 < c[1].size; i += 2) loud += std::abs(static_cast<int16_t>(U16(c[1].body + i))) > 8000;
  EXPECT_GT(loud, 1000);
}

TEST(WaveData, StoredFormRoundTripsByteForByte) {
  struct Clip {
    const unsigned char* bytes;
    int32_t size;
    size_t block;
  } clips[] = {{kWave1Clip, 682, 686}, {kWave2Clip, 53864, 53868}};
  for (const Clip& clip : clips) {
    TWaveData d;
    d.SetData(clip.size, clip.bytes);
    ASSERT_TRUE(d.HasStoredData());
    std::stringstream block;
    d.WriteData(block);
    const std::string s = block.str();
    ASSERT_EQ(s.size(), clip.block);
    EXPECT_EQ(U32(reinterpret_cast<const unsigned char*>(s.data())), static_cast<uint32_t>(clip.size));
    EXPECT_EQ(s.compare(4, std::string::npos, reinterpret_cast<const char*>(clip.bytes), clip.size), 0);
    TWaveData back;
    block.seekg(0);
    ASSERT_TRUE(back.ReadData(block));
    ASSERT_EQ(back.Size(), clip.size);
    EXPECT_EQ(std::memcmp(back.Data(), clip.bytes, clip.size), 0);
  }
}

TEST(WaveData, BadOrEmptyBlocksGiveAnEmptyHolder) {
  struct Case {
    std::string block;
    bool ok;
  } cases[] = {
      {std::string("\0\0\0\0", 4), true},            // size 0
      {std::string("\xFF\xFF\xFF\xFF", 4), true},    // -1
      {std::string("\x00\x00\x00\x80", 4), true},    // INT32_MIN
      {std::string("\x05\0\0\0RIF", 7), false},      // ends early
      {std::string("\xFF\xFF\xFF\x7F" "abc", 7), false},  // lies about 2 GB
      {std::string("\x01\0", 2), false},             // no size at all
  };
  for (const Case& c : cases) {
    TWaveData d;
    d.SetData(3, "old");
    std::istringstream in(c.block);
    EXPECT_EQ(d.ReadData(in), c.ok) << c.block.size();
    EXPECT_TRUE(d.IsEmpty());
    EXPECT_EQ(d.Data(), nullptr);
    EXPECT_FALSE(d.HasStoredData());
  }
}

TEST(WaveData, SetDataAssignAndClear) {
  TWaveData a;
  a.SetData(0, "x");
  EXPECT_TRUE(a.IsEmpty());
  a.SetData(-4, "x");
  EXPECT_TRUE(a.IsEmpty());
  a.SetData(4, "RIFF");
  TWaveData b;
  b.Assign(&a);
  ASSERT_EQ(b.Size(), 4);
  EXPECT_NE(b.Data(), a.Data());  // a deep copy
  EXPECT_EQ(std::memcmp(b.Data(), "RIFF", 4), 0);
  b.Assign(&b);
  EXPECT_EQ(b.Size(), 4);
  b.Assign(nullptr);
  EXPECT_TRUE(b.IsEmpty());
  a.Clear();
  EXPECT_TRUE(a.IsEmpty());
  std::ostringstream out;
  a.WriteData(out);
  EXPECT_EQ(out.str(), std::string("\0\0\0\0", 4));
}

TEST(WaveData, LoadFromFile) {
  namespace fs = std::filesystem;
  test::ScratchDirectory scratch("wave");
  const fs::path& dir = scratch.path();
  const std::string file = (dir / "klick.wav").string();
  { std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(kWave1Clip), sizeof kWave1Clip); }
  TWaveData d;
  ASSERT_TRUE(d.LoadFromFile(file));
  ASSERT_EQ(d.Size(), 682);
  EXPECT_EQ(std::memcmp(d.Data(), kWave1Clip, 682), 0);
  EXPECT_TRUE(d.LoadFromFile((dir / "fehlt.wav").string()));
  EXPECT_TRUE(d.IsEmpty());
  { std::ofstream(file, std::ios::binary | std::ios::trunc); }
  d.SetData(3, "old");
  EXPECT_TRUE(d.LoadFromFile(file));
  EXPECT_TRUE(d.IsEmpty());
  d.SetData(3, "old");
  EXPECT_FALSE(d.LoadFromFile(dir.string()));  // a directory cannot be read as a clip
  EXPECT_TRUE(d.IsEmpty());
}

class RecordingPlayer final : public WavePlayer {
 public:
  RecordingPlayer() : previous_(SetWavePlayer(this)) {}
  ~RecordingPlayer() override { SetWavePlayer(previous_); }
  void PlayMemory(const unsigned char* image, int32_t size) override {
    events.push_back("play:" + std::to_string(size));
    playing = image;
  }
  void Stop() override {
    events.push_back("stop");
    playing = nullptr;
  }
  std::vector<std::string> events;
  const unsigned char* playing = nullptr;

 private:
  WavePlayer* previous_;
};

TEST(Wave, IsATWaveComponentThatPlaysItsOwnCopy) {
  RecordingPlayer player;
  TComponent form(nullptr, "FAdressExtremeLinks", "TFAdressExtremeLinks");
  TWave wave1(&form, "Wave1");
  TWave wave2(&form, "Wave2xxxx");
  EXPECT_EQ(wave1.ClassName(), "TWave");
  EXPECT_EQ(form.FindComponent("wave2xxxx"), &wave2);
  TWaveData source;
  source.SetData(sizeof kWave1Clip, kWave1Clip);
  wave1.SetWaveData(source);
  EXPECT_NE(wave1.WaveData().Data(), source.Data());
  source.Clear();
  std::vector<std::string> fired;
  wave1.OnPlay = [&](TComponent* sender) { fired.push_back(sender->Name()); };
  wave2.OnPlay = wave1.OnPlay;
  wave1.Play();
  EXPECT_EQ(player.playing, wave1.WaveData().Data());
  wave2.Play();  // empty: the event fires, nothing sounds
  EXPECT_EQ(fired, (std::vector<std::string>{"Wave1", "Wave2xxxx"}));
  EXPECT_EQ(player.events, std::vector<std::string>{"play:682"});
}

TEST(Wave, ASoundingClipIsStoppedBeforeItsBlockIsFreed) {
  RecordingPlayer player;
  {
    TWave a(nullptr, "Wave1");
    TWave b(nullptr, "Wave2xxxx");
    a.WaveData().SetData(sizeof kWave1Clip, kWave1Clip);
    b.WaveData().SetData(sizeof kWave2Clip, kWave2Clip);
    a.Play();
    b.Play();               // cuts a off: a's block is no longer read
    a.WaveData().Clear();   // so no stop for it
    EXPECT_EQ(player.events, (std::vector<std::string>{"play:682", "play:53864"}));
    b.WaveData().SetData(4, "RIFF");  // replacing the sounding block stops it first
    EXPECT_EQ(player.events.back(), "stop");
    b.Play();
  }  // released while sounding
  EXPECT_EQ(player.events, (std::vector<std::string>{"play:682", "play:53864", "stop", "play:4", "stop"}));
  EXPECT_EQ(player.playing, nullptr);
}

}  // namespace
}  // namespace zs
