#include "ui/wave_win.h"

#include <mmsystem.h>

static_assert(zs::kWavePlayFlags == (SND_ASYNC | SND_NODEFAULT | SND_MEMORY));

namespace zs {

void PlaySoundPlayer::PlayMemory(const unsigned char* image, int32_t /*size*/) {
  last_result_ = PlaySoundA(reinterpret_cast<LPCSTR>(image), reinterpret_cast<HMODULE>(app_window_), kWavePlayFlags);
}

void PlaySoundPlayer::Stop() { PlaySoundA(nullptr, nullptr, 0); }

PlaySoundPlayer& UsePlaySound(HWND app_window) {
  struct Installed {
    PlaySoundPlayer player;
    explicit Installed(HWND w) : player(w) { SetWavePlayer(&player); }
    ~Installed() {
      player.Stop();
      SetWavePlayer(nullptr);
    }
  };
  static Installed installed(app_window);
  return installed.player;
}

}  // namespace zs
