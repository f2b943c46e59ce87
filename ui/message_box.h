// The message box's rules that need no window. The box itself is in
// ui/message_box_win.h; callers use ShowNoteBox/AskYesNoBox (ui/user_seams.h).
#pragma once

#include <string>
#include <string_view>

namespace zs {

// Every occurrence of the six characters "#13#10" becomes "<BR>", scanning
// left to right and going on behind each replacement.
std::string ConvertBreakCodes(std::string_view text);

// The highest the box's window (frame included) may be: 70 % of the screen
// height, rounded to the nearest pixel, a half to the even neighbour.
int MaxBoxWindowHeight(int screen_height);

// Layout of the box, in client pixels.
constexpr int kBoxClientWidth = 406;
constexpr int kBoxBorder = 2;          // inside the frame, on every side
constexpr int kBoxStripHeight = 35;    // the button strip
constexpr int kBoxExtraHeight = 37;    // strip plus the 2-pixel gap
constexpr int kLabelPadding = 6;       // label height = text height + 6

}  // namespace zs
