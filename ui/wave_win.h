// The Windows sound player behind TWave: PlaySoundA on the in-memory image.
#pragma once

#include <windows.h>

#include "ui/wave.h"

namespace zs {

// SND_ASYNC | SND_NODEFAULT | SND_MEMORY.
inline constexpr DWORD kWavePlayFlags = 7;

class PlaySoundPlayer final : public WavePlayer {
 public:
  // `app_window` is passed as PlaySoundA's module argument (ignored for
  // in-memory images).
  explicit PlaySoundPlayer(HWND app_window = nullptr) : app_window_(app_window) {}
  void PlayMemory(const unsigned char* image, int32_t size) override;
  void Stop() override;
  // PlaySoundA's answer to the last PlayMemory (the system ignores it).
  BOOL LastResult() const { return last_result_; }

 private:
  HWND app_window_;
  BOOL last_result_ = FALSE;
};

// Installs one process-wide PlaySoundPlayer and answers it. Call once at
// start-up, before any TWave plays; stops any clip at process end.
PlaySoundPlayer& UsePlaySound(HWND app_window = nullptr);

}  // namespace zs
