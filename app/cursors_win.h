// The application's cursor table: cursors registered by numeric id, as the
// suite's modules expect, filled from the executable's resources at start-up.
#pragma once

#include <windows.h>

namespace zs {

// Built-in ids.
inline constexpr int crDefault = 0;
inline constexpr int crHourGlass = -11;
inline constexpr int crHandPoint = -21;
// The custom cursors (resource name in brackets).
inline constexpr int kCursorHand = 17779;     // "X_HAND", cursor group
inline constexpr int kCursorMagnify = 17780;  // "X_MAGNIFY", cursor group
inline constexpr int kCursorMove = 17782;     // "X_MOVE", cursor group
inline constexpr int kCursorWait = 17786;     // "CRCURSOR_WAIT", type "RT_ANICURSOR"
inline constexpr int kCursorPrint = 17787;    // "CRCURSOR_PRINT", type "RT_ANICURSOR"
inline constexpr int kCursorPdf = 17788;      // "CRCURSOR_PDF", type "RT_ANICURSOR"

// Registers `cursor` under `id` (replacing an earlier one). The table keeps
// the handles for the life of the process.
void SetScreenCursor(int id, HCURSOR cursor);
// The handle for `id`: a registered one, the system's arrow, hand or
// hourglass for crDefault, crHandPoint and crHourGlass, and the arrow for
// any id without a handle (a cursor that failed to load shows the default).
HCURSOR ScreenCursor(int id);
// True when `id` has a handle of its own in the table.
bool HasScreenCursor(int id);

// Loads the three static cursors and then, in the order print, wait, pdf,
// the three animated ones from `module` (null: the executable). Once per
// process; a cursor that fails to load leaves its id on the default.
void RegisterCursors(HMODULE module = nullptr);

// Registers one animated cursor: the resource `resource_name` of type
// "RT_ANICURSOR" is written to a new, uniquely named file in the user's
// temporary folder, loaded from there (LoadCursorFromFileA) and that file
// alone is deleted again; no file outside the temporary folder is touched.
// Answers whether the id got a handle.
bool LoadAnimatedCursor(const char* resource_name, int cursor_id, HMODULE module = nullptr);

}  // namespace zs
