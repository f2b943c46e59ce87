// Sound clips held in memory. TWaveData holds one complete WAV file image;
// TWave is the non-visual component a window carries it in. Playing hands
// the image to the installed WavePlayer (PlaySoundA on Windows, see
// ui/wave_win.h) and returns at once.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "kit/component.h"

namespace zs {

// The platform's sound player. PlayMemory starts `image` (a complete WAV
// file) in the background, cutting off what played before; the image must
// stay allocated until the clip ends or Stop returns. Stop ends any clip.
class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  virtual void PlayMemory(const unsigned char* image, int32_t size) = 0;
  virtual void Stop() = 0;
};
// Installs `player` (not owned; null: silence) and answers the previous one.
WavePlayer* SetWavePlayer(WavePlayer* player);

class TWaveData {
 public:
  // The defined property a window definition stores the clip under.
  static constexpr const char* kStoredPropertyName = "Data";

  TWaveData() = default;
  virtual ~TWaveData();  // Clear
  TWaveData(const TWaveData&) = delete;
  TWaveData& operator=(const TWaveData&) = delete;

  // Frees the block (stopping it first if it is the clip sounding now).
  void Clear();
  // Clear, then a copy of `size` bytes from `source`; a size below 1 stays empty.
  void SetData(int32_t size, const void* source);
  bool IsEmpty() const { return size_ == 0; }
  int32_t Size() const { return size_; }
  const unsigned char* Data() const { return data_.get(); }
  // Deep copy of `source`; null clears.
  void Assign(const TWaveData* source);
  // "Data" is stored only for a holder that is not empty.
  bool HasStoredData() const { return !IsEmpty(); }

  // The stored form: a 32-bit little-endian signed size N, then N bytes.
  // ReadData clears first; a size of 0 or less gives an empty holder. A block
  // that ends before its declared size leaves the holder empty and answers false.
  virtual bool ReadData(std::istream& in);
  virtual void WriteData(std::ostream& out) const;
  // Clear, then the whole file as the block. A missing or empty file leaves
  // the holder empty (true); a file that cannot be read answers false.
  virtual bool LoadFromFile(const std::string& path);
  // Plays the block through the installed player; nothing when empty.
  virtual void Play() const;

 private:
  std::unique_ptr<unsigned char[]> data_;
  int32_t size_ = 0;
};

class TWave : public TComponent {
 public:
  explicit TWave(TComponent* owner = nullptr, std::string name = "Wave1");
  ~TWave() override;

  TWaveData& WaveData() { return *wave_data_; }
  const TWaveData& WaveData() const { return *wave_data_; }
  // Copies the bytes of `source` into the component's own holder.
  void SetWaveData(const TWaveData& source) { wave_data_->Assign(&source); }

  // Called with the component, when set, every time Play is asked for,
  // before the clip starts (also for an empty holder).
  std::function<void(TComponent* sender)> OnPlay;
  void Play();

 private:
  std::unique_ptr<TWaveData> wave_data_;
};

}  // namespace zs
