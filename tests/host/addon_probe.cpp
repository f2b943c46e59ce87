// Started by the stand-in host's extras menu: records its arguments in
// "probe_args.txt" beside itself, one per line, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string out(path, n);
  out = out.substr(0, out.find_last_of("\\/") + 1) + "probe_args.txt";
  FILE* f = std::fopen((out + ".part").c_str(), "wb");
  if (!f) return 1;
  for (int i = 1; i < __argc; ++i) std::fprintf(f, "%s\n", __argv[i]);
  std::fclose(f);
  // Appears complete or not at all.
  return MoveFileExA((out + ".part").c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
