// Settings files of realistic size, written to a scratch directory.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace zs::bench {

// About 2 KB: the program's own keys among the entries other modules keep.
inline std::string TypicalUserMode() {
  std::string s = "[MODE]\r\n";
  for (const char* form : {"TFAdressExtremeLinks", "TFAdressLinkController", "TFExAdressFinder", "TFBelegEdit",
                           "TFKundenListe", "TFArtikelSuche"})
    for (const char* suffix : {".Width=640", ".Height=480", ".Left=120", ".Top=80"})
      s += std::string(form) + suffix + "\r\n";
  s += "TFAdressExtremeLinks.ftopbtn.Checked=1\r\nTFAdressExtremeLinks.Sound.On=1\r\n";
  s += "TFAdressLinkController.TSaveAdress.Guid=\"{6F1A2B3C-4D5E-6F70-8192-A3B4C5D6E7F8}\"\r\n";
  s += "TFAdressLinkController.TSaveAdress.Adress=\"M\xFCller GmbH, Hauptstra\xDF" "e 1\"\r\n";
  s += "TFAdressLinkController.TSaveAdress.ID=\"12345\"\r\n";
  int i = 0;
  while (s.size() < 1900) s += "TFModul" + std::to_string(i++) + ".Grid.ColWidths=80,120,60,200\r\n";
  s += "\r\n";
  return s;
}

// About 1 MB in 200 sections.
inline std::string BigIni() {
  std::string s;
  s.reserve(1 << 20);
  for (int sec = 0; s.size() < (1u << 20); ++sec) {
    s += "[Section" + std::to_string(sec) + "]\r\n";
    for (int k = 0; k < 200; ++k) s += "Key" + std::to_string(k) + "=Value number " + std::to_string(k) + "\r\n";
    s += "\r\n";
  }
  return s;
}

inline std::string ScratchDirectory() {
  auto dir = std::filesystem::temp_directory_path() /
             ("zs_settings_bench_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zs::bench
