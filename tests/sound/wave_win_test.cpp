// The clips through the real PlaySoundA (under Wine: no sound device, the
// asynchronous call still answers TRUE).
#include "ui/wave_win.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include "ui/wave_clips.h"

namespace zs {
namespace {

TEST(WavePlay, EmbeddedClipsPlayFromMemory) {
  EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(kWave1Clip), nullptr, kWavePlayFlags));
  EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(kWave2Clip), nullptr, kWavePlayFlags));
  PlaySoundA(nullptr, nullptr, 0);
}

TEST(WavePlay, TWavePlaysThroughTheInstalledPlayerAndStopsOnRelease) {
  PlaySoundPlayer& player = UsePlaySound();
  {
    TWave wave(nullptr, "Wave2xxxx");
    wave.WaveData().SetData(sizeof kWave2Clip, kWave2Clip);
    wave.Play();
    EXPECT_TRUE(player.LastResult());
    wave.Play();  // a new request replaces the sounding one
    EXPECT_TRUE(player.LastResult());
  }
  // The block is gone; a clip that still read it would crash here or in Wine's mixer.
  TWave click(nullptr, "Wave1");
  click.WaveData().SetData(sizeof kWave1Clip, kWave1Clip);
  click.Play();
  EXPECT_TRUE(player.LastResult());
}

}  // namespace
}  // namespace zs
