#include "app/cursors_win.h"

#include <map>
#include <string>

namespace zs {

namespace {

std::map<int, HCURSOR>& Table() {
  static std::map<int, HCURSOR> table;
  return table;
}

// Deletes the files it names when it goes, on every way out.
struct TempFiles {
  std::string reserved;  // made by GetTempFileNameA
  std::string ani;       // the cursor's own file, created beside it
  ~TempFiles() {
    if (!ani.empty()) DeleteFileA(ani.c_str());
    if (!reserved.empty()) DeleteFileA(reserved.c_str());
  }
};

bool WriteNewFile(const std::string& path, const void* data, DWORD size) {
  // CREATE_NEW: never replace a file that is already there.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, data, size, &written, nullptr) && written == size;
  CloseHandle(h);
  return ok;
}

}  // namespace

void SetScreenCursor(int id, HCURSOR cursor) { Table()[id] = cursor; }

bool HasScreenCursor(int id) {
  auto it = Table().find(id);
  return it != Table().end() && it->second != nullptr;
}

HCURSOR ScreenCursor(int id) {
  auto it = Table().find(id);
  if (it != Table().end() && it->second) return it->second;
  switch (id) {
    case crHandPoint: return LoadCursor(nullptr, IDC_HAND);
    case crHourGlass: return LoadCursor(nullptr, IDC_WAIT);
    default: return LoadCursor(nullptr, IDC_ARROW);
  }
}

bool LoadAnimatedCursor(const char* resource_name, int cursor_id, HMODULE module) {
  if (!module) module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, resource_name, "RT_ANICURSOR");
  if (!res) return false;
  HGLOBAL loaded = LoadResource(module, res);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, res);
  if (!bytes || size == 0) return false;

  char dir[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof dir, dir);
  if (n == 0 || n >= sizeof dir) return false;
  char name[MAX_PATH];
  TempFiles files;
  // The reserved name is unique on this machine for as long as it exists, so
  // the ".ani" file beside it cannot collide with another process's.
  if (GetTempFileNameA(dir, "zsc", 0, name) == 0) return false;
  files.reserved = name;
  const std::string ani = files.reserved + ".ani";
  if (!WriteNewFile(ani, bytes, size)) return false;
  files.ani = ani;

  HCURSOR cursor = LoadCursorFromFileA(ani.c_str());
  if (!cursor) return false;
  SetScreenCursor(cursor_id, cursor);
  return true;
}

void RegisterCursors(HMODULE module) {
  if (!module) module = GetModuleHandleA(nullptr);
  static const struct {
    int id;
    const char* name;
  } statics[] = {{kCursorHand, "X_HAND"}, {kCursorMagnify, "X_MAGNIFY"}, {kCursorMove, "X_MOVE"}};
  for (const auto& s : statics) {
    HCURSOR c = LoadCursorA(module, s.name);
    if (c) SetScreenCursor(s.id, c);
  }
  LoadAnimatedCursor("CRCURSOR_PRINT", kCursorPrint, module);
  LoadAnimatedCursor("CRCURSOR_WAIT", kCursorWait, module);
  LoadAnimatedCursor("CRCURSOR_PDF", kCursorPdf, module);
}

}  // namespace zs
