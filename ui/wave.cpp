#include "ui/wave.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <vector>

namespace zs {

namespace {

WavePlayer* g_player = nullptr;
// The block the player was last given: it may still be sounding.
const unsigned char* g_sounding = nullptr;

}  // namespace

WavePlayer* SetWavePlayer(WavePlayer* player) {
  WavePlayer* previous = g_player;
  g_player = player;
  g_sounding = nullptr;
  return previous;
}

TWaveData::~TWaveData() { Clear(); }

void TWaveData::Clear() {
  if (!data_) return;
  // The player reads the block while the clip sounds.
  if (g_sounding == data_.get()) {
    if (g_player) g_player->Stop();
    g_sounding = nullptr;
  }
  data_.reset();
  size_ = 0;
}

void TWaveData::SetData(int32_t size, const void* source) {
  Clear();
  if (size < 1 || !source) return;
  data_ = std::make_unique<unsigned char[]>(static_cast<size_t>(size));
  std::memcpy(data_.get(), source, static_cast<size_t>(size));
  size_ = size;
}

void TWaveData::Assign(const TWaveData* source) {
  if (source == this) return;
  if (!source) {
    Clear();
    return;
  }
  SetData(source->size_, source->data_.get());
}

bool TWaveData::ReadData(std::istream& in) {
  Clear();
  unsigned char head[4];
  if (!in.read(reinterpret_cast<char*>(head), 4)) return false;
  const int32_t size = static_cast<int32_t>(static_cast<uint32_t>(head[0]) | static_cast<uint32_t>(head[1]) << 8 |
                                            static_cast<uint32_t>(head[2]) << 16 |
                                            static_cast<uint32_t>(head[3]) << 24);
  if (size <= 0) return true;
  // Read in pieces, so a block that lies about its size costs no more memory
  // than the bytes really there.
  std::vector<unsigned char> bytes;
  size_t left = static_cast<size_t>(size);
  while (left > 0) {
    const size_t piece = left < (1u << 16) ? left : (1u << 16);
    const size_t at = bytes.size();
    bytes.resize(at + piece);
    if (!in.read(reinterpret_cast<char*>(bytes.data() + at), static_cast<std::streamsize>(piece))) return false;
    left -= piece;
  }
  SetData(size, bytes.data());
  return true;
}

void TWaveData::WriteData(std::ostream& out) const {
  const uint32_t n = static_cast<uint32_t>(size_);
  const char head[4] = {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF),
                        static_cast<char>(n >> 16 & 0xFF), static_cast<char>(n >> 24 & 0xFF)};
  out.write(head, 4);
  if (size_ > 0) out.write(reinterpret_cast<const char*>(data_.get()), size_);
}

bool TWaveData::LoadFromFile(const std::string& path) {
  Clear();
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (ec || !std::filesystem::is_regular_file(status)) return false;
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::vector<unsigned char> bytes;
  char buf[1 << 14];
  while (f.read(buf, sizeof buf) || f.gcount() > 0) {
    bytes.insert(bytes.end(), buf, buf + f.gcount());
    if (bytes.size() > 0x7FFFFFFFu) return false;
  }
  if (f.bad()) return false;
  SetData(static_cast<int32_t>(bytes.size()), bytes.data());
  return true;
}

void TWaveData::Play() const {
  if (IsEmpty() || !g_player) return;
  g_sounding = data_.get();
  g_player->PlayMemory(data_.get(), size_);
}

TWave::TWave(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name), "TWave"), wave_data_(std::make_unique<TWaveData>()) {}

TWave::~TWave() = default;

void TWave::Play() {
  if (OnPlay) OnPlay(this);
  wave_data_->Play();
}

}  // namespace zs
