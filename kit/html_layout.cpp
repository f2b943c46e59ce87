#include "kit/html_layout.h"

#include <algorithm>
#include <array>
#include <deque>
#include <memory>

#include "kit/html_colors.h"
#include "kit/win_text.h"

namespace zs::html {
namespace {

struct Entity {
  std::string_view name;
  std::string_view text;
};

// Windows-1252 bytes, written as escapes so every compiler sees the same bytes.
constexpr std::array<Entity, 9> kEntities{{
    {"&amp;", "&&"},
    {"&quot;", "\""},
    {"&sect;", "\xA7"},
    {"&permil;", "\x89"},
    {"&reg;", "\xAE"},
    {"&copy;", "\xA9"},
    {"&para;", "\xB6"},
    {"&trade;", "\x99"},
    {"&euro;", "\x80"},
}};

constexpr int kListIndent = 12;
constexpr int kMaxListLevel = 32;
constexpr int kMaxIndent = 2000;
constexpr size_t kMaxFaceLength = 31;  // LF_FACESIZE - 1

bool StartsWith(std::string_view s, size_t at, std::string_view what) {
  return s.size() - at >= what.size() && s.compare(at, what.size(), what) == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A decimal integer with optional sign; leading blanks skipped, anything after
// the digits ignored. Clamped to +-1e6; `fallback` when there are no digits.
int ParseInt(std::string_view s, int fallback) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i >= s.size() || s[i] < '0' || s[i] > '9') return fallback;
  long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = std::min(1000000L, v * 10 + (s[i] - '0'));
  return static_cast<int>(negative ? -v : v);
}

struct Tag {
  std::string name;  // upper case
  bool closing = false;
  std::string_view body;  // everything after the name
};

Tag ParseTag(std::string_view inner) {
  Tag t;
  size_t i = 0;
  if (i < inner.size() && inner[i] == '/') {
    t.closing = true;
    ++i;
  }
  while (i < inner.size() && IsLetter(inner[i])) {
    char c = inner[i++];
    t.name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  t.body = inner.substr(i);
  return t;
}

// Attributes: NAME="value" or NAME=value, separated by blanks.
std::string Attribute(std::string_view body, std::string_view wanted, bool* found = nullptr) {
  size_t i = 0;
  if (found) *found = false;
  while (i < body.size()) {
    while (i < body.size() && IsBlank(body[i])) ++i;
    const size_t name_start = i;
    while (i < body.size() && !IsBlank(body[i]) && body[i] != '=') ++i;
    const std::string_view name = body.substr(name_start, i - name_start);
    while (i < body.size() && IsBlank(body[i])) ++i;
    std::string_view value;
    if (i < body.size() && body[i] == '=') {
      ++i;
      while (i < body.size() && IsBlank(body[i])) ++i;
      if (i < body.size() && body[i] == '"') {
        const size_t start = ++i;
        while (i < body.size() && body[i] != '"') ++i;
        value = body.substr(start, i - start);
        if (i < body.size()) ++i;
      } else {
        const size_t start = i;
        while (i < body.size() && !IsBlank(body[i])) ++i;
        value = body.substr(start, i - start);
      }
    }
    if (!name.empty() && SameText(name, wanted)) {
      if (found) *found = true;
      return std::string(value);
    }
    if (name.empty() && i < body.size()) ++i;  // a stray "=" or quote: step over it
  }
  return {};
}

// The first double-quoted value in a tag: the target of <A>.
std::string FirstQuoted(std::string_view body) {
  const size_t open = body.find('"');
  if (open == std::string_view::npos) return {};
  const size_t close = body.find('"', open + 1);
  return std::string(body.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

int PointsToPixels(int pt) { return (pt * 96 + 36) / 72; }

enum class Align { kLeft, kCenter, kRight };

class Engine {
 public:
  Engine(const LayoutOptions& options, TextMeasurer& measurer) : opt_(options), m_(measurer) {
    font_ = opt_.font;
    color_ = opt_.color;
    StartLine();
  }

  void Run(std::string_view text) {
    size_t i = 0;
    std::string run;
    while (i < text.size()) {
      if (text[i] == '<') {
        const size_t close = text.find('>', i + 1);
        if (close == std::string_view::npos) break;  // a stray "<" hides the rest
        Text(run);
        run.clear();
        DoTag(ParseTag(text.substr(i + 1, close - i - 1)));
        i = close + 1;
      } else {
        run += text[i++];
      }
    }
    Text(run);
    FlushWord();
    if (!line_.pieces.empty() || out_.lines.empty()) EndLine(false);
  }

  Layout Take() { return std::move(out_); }

 private:
  // ---- text ----
  void Text(std::string_view run) {
    for (size_t i = 0; i < run.size();) {
      const char c = run[i];
      if (c != '&') {
        AddChar(c, false);
        ++i;
      } else if (StartsWith(run, i, "&nbsp;")) {
        AddChar(' ', false);
        i += 6;
      } else if (StartsWith(run, i, "&lt;")) {
        AddChar('<', false);
        i += 4;
      } else if (StartsWith(run, i, "&gt;")) {
        AddChar('>', false);
        i += 4;
      } else if (i + 1 < run.size()) {
        // Accelerator prefix: "&&" draws "&", "&x" draws x underlined.
        const char next = run[i + 1];
        AddChar(next, next != '&');
        i += 2;
      } else {
        ++i;  // a lone "&" at the end of a run draws nothing
      }
    }
  }

  Piece StylePiece(bool underlined) const {
    Piece p;
    p.font = font_;
    if (underlined || link_ >= 0) p.font.underline = true;
    p.color = link_ >= 0 ? opt_.link_color : color_;
    p.background = background_;
    p.shadow = shadow_;
    p.highlight = highlight_;
    p.error = error_;
    p.link = link_;
    // Sub- and superscript share the font; they are moved at the end of the line.
    p.y = sub_ ? 1 : sup_ ? -1 : 0;
    return p;
  }

  static bool SameStyle(const Piece& a, const Piece& b) {
    return a.font == b.font && a.color == b.color && a.background == b.background && a.shadow == b.shadow &&
           a.highlight == b.highlight && a.error == b.error && a.link == b.link && a.y == b.y && !a.bullet &&
           !b.bullet;
  }

  int CharWidth(const FontStyle& f, char c) {
    WidthTable* t = nullptr;
    for (auto& w : widths_)
      if (w->font == f) {
        t = w.get();
        break;
      }
    if (!t) {
      widths_.push_back(std::make_unique<WidthTable>());
      t = widths_.back().get();
      t->font = f;
      t->width.fill(-1);
    }
    int& w = t->width[static_cast<unsigned char>(c)];
    if (w < 0) w = std::max(0, m_.TextWidth(f, std::string_view(&c, 1)));
    return w;
  }

  void AddChar(char c, bool underlined) {
    if (hidden_) return;  // <Z>: neither drawn nor taking width
    Piece style = StylePiece(underlined);
    if (word_.empty() || !SameStyle(word_.back(), style)) {
      const FontMetrics fm = m_.Metrics(style.font);
      style.height = fm.height;
      style.ascent = fm.ascent;
      word_.push_back(std::move(style));
    }
    Piece& p = word_.back();
    const int w = CharWidth(p.font, c);
    p.text += c;
    p.width += w;
    word_width_ += w;
    if (c == ' ') {
      trailing_space_ += w;
      FlushWord();
    }
  }

  void Place(Piece&& p) {
    p.x = x_;
    x_ += p.width;
    // Alignment ignores the spaces at the end of the line.
    const size_t last = p.text.find_last_not_of(' ');
    if (last != std::string::npos)
      visible_right_ = x_ - static_cast<int>(p.text.size() - last - 1) * CharWidth(p.font, ' ');
    line_.pieces.push_back(std::move(p));
  }

  void FlushWord() {
    if (word_.empty()) return;
    const int visible = word_width_ - trailing_space_;
    if (!line_.pieces.empty() && x_ + visible > opt_.width) EndLine(false);
    if (x_ + visible <= opt_.width || word_width_ == trailing_space_) {
      for (Piece& p : word_) Place(std::move(p));
    } else {
      BreakWord();
    }
    word_.clear();
    word_width_ = 0;
    trailing_space_ = 0;
  }

  // A word wider than the line: as many characters as fit on each line, at
  // least one, so that every line makes progress.
  void BreakWord() {
    for (Piece& p : word_) {
      Piece part = p;
      part.text.clear();
      part.width = 0;
      for (char c : p.text) {
        const int w = CharWidth(p.font, c);
        const bool line_has_text = !line_.pieces.empty() || !part.text.empty();
        if (c != ' ' && line_has_text && x_ + part.width + w > opt_.width) {
          if (!part.text.empty()) Place(std::move(part));
          EndLine(false);
          part = p;
          part.text.clear();
          part.width = 0;
        }
        part.text += c;
        part.width += w;
      }
      if (!part.text.empty()) Place(std::move(part));
    }
  }

  // ---- lines ----
  int LineLeft() const { return std::min(kMaxIndent, indent_ + kListIndent * list_level_); }

  void StartLine() {
    line_ = Line{};
    line_.background = paragraph_background_;
    x_ = LineLeft();
    visible_right_ = x_;
    const FontMetrics fm = m_.Metrics(font_);
    min_height_ = fm.height;
    min_ascent_ = fm.ascent;
  }

  void EndLine(bool rule) {
    int ascent = min_ascent_;
    for (const Piece& p : line_.pieces) ascent = std::max(ascent, p.ascent);
    int height = min_height_;
    for (const Piece& p : line_.pieces) height = std::max(height, ascent - p.ascent + p.height);
    int shift = 0;
    const int free = opt_.width - visible_right_;
    if (free > 0 && align_ == Align::kRight) shift = free;
    if (free > 0 && align_ == Align::kCenter) shift = free / 2;
    line_.top = out_.height;
    line_.height = height;
    line_.rule_below = rule;
    for (Piece& p : line_.pieces) {
      const int script = p.y;  // -1 raised, 1 lowered, 0 on the baseline
      p.y = line_.top + ascent - p.ascent + script * (p.height / 4);
      p.x += shift;
    }
    out_.height += height;
    out_.lines.push_back(std::move(line_));
    StartLine();
  }

  void BreakParagraph() {
    FlushWord();
    if (!line_.pieces.empty()) EndLine(false);
  }

  // ---- tags ----
  void DoTag(const Tag& t) {
    const bool on = !t.closing;
    const std::string& n = t.name;
    if (n == "B") {
      font_.bold = on;
    } else if (n == "I") {
      font_.italic = on;
    } else if (n == "U") {
      font_.underline = on;
    } else if (n == "S") {
      font_.strike = on;
    } else if (n == "BR") {
      if (on) {
        FlushWord();
        EndLine(false);
      }
    } else if (n == "HR") {
      if (on) {
        FlushWord();
        EndLine(true);
      }
    } else if (n == "FONT") {
      DoFont(t);
    } else if (n == "P") {
      DoParagraph(t);
    } else if (n == "A") {
      if (on) {
        link_ = static_cast<int>(out_.links.size());
        out_.links.push_back(FirstQuoted(t.body));
      } else {
        link_ = -1;
      }
    } else if (n == "SUB") {
      sub_ = on;
    } else if (n == "SUP") {
      sup_ = on;
    } else if (n == "SH") {
      shadow_ = on;
    } else if (n == "HI") {
      highlight_ = on;
    } else if (n == "E") {
      error_ = on;
    } else if (n == "Z") {
      hidden_ = on;
    } else if (n == "UL") {
      BreakParagraph();
      list_level_ = on ? std::min(kMaxListLevel, list_level_ + 1) : std::max(0, list_level_ - 1);
      x_ = LineLeft();
      visible_right_ = x_;
    } else if (n == "LI") {
      if (on) DoListItem();
    }
    // Any other tag vanishes.
  }

  void DoFont(const Tag& t) {
    if (t.closing) {
      font_.face = opt_.font.face;
      font_.height_px = opt_.font.height_px;
      color_ = opt_.color;
      background_ = kNoColor;
      return;
    }
    bool found = false;
    std::string face = Attribute(t.body, "FACE", &found);
    if (found && !face.empty()) font_.face = face.substr(0, kMaxFaceLength);
    std::string color = Attribute(t.body, "COLOR", &found);
    if (found) color_ = MarkupColor(color);
    std::string bg = Attribute(t.body, "BGCOLOR", &found);
    if (found) background_ = MarkupColor(bg);
    std::string size = Attribute(t.body, "SIZE", &found);
    if (found) {
      static constexpr int kSizes[] = {8, 10, 12, 14, 16};
      int pt = ParseInt(size, 0);
      if (pt >= 1 && pt <= 5) pt = kSizes[pt - 1];
      if (pt >= 1) font_.height_px = PointsToPixels(std::min(pt, 144));
    }
  }

  void DoParagraph(const Tag& t) {
    BreakParagraph();
    if (t.closing) {
      align_ = Align::kLeft;
      indent_ = 0;
      paragraph_background_ = kNoColor;
    } else {
      const std::string a = Attribute(t.body, "ALIGN");
      align_ = SameText(a, "RIGHT") ? Align::kRight : SameText(a, "CENTER") ? Align::kCenter : Align::kLeft;
      indent_ = std::clamp(ParseInt(Attribute(t.body, "INDENT"), 0), 0, kMaxIndent);
      bool found = false;
      const std::string bg = Attribute(t.body, "BGCOLOR", &found);
      paragraph_background_ = found ? MarkupColor(bg) : kNoColor;
    }
    line_.background = paragraph_background_;
    x_ = LineLeft();
    visible_right_ = x_;
  }

  void DoListItem() {
    BreakParagraph();
    Piece bullet;
    bullet.font = font_;
    static const std::string kSymbolFace = "Symbol";
    bullet.font.face = kSymbolFace;
    bullet.font.underline = bullet.font.strike = false;
    bullet.text.assign(1, static_cast<char>(0xB7));
    bullet.color = color_;
    bullet.bullet = true;
    const FontMetrics fm = m_.Metrics(bullet.font);
    bullet.height = fm.height;
    bullet.ascent = fm.ascent;
    bullet.width = m_.TextWidth(bullet.font, bullet.text);
    bullet.x = list_level_ > 0 ? LineLeft() - kListIndent + 2 : LineLeft();
    line_.pieces.push_back(bullet);
    x_ = list_level_ > 0 ? LineLeft() : LineLeft() + kListIndent;
    visible_right_ = x_;
  }

  struct WidthTable {
    FontStyle font;
    std::array<int, 256> width;
  };

  const LayoutOptions& opt_;
  TextMeasurer& m_;
  Layout out_;
  std::vector<std::unique_ptr<WidthTable>> widths_;

  FontStyle font_;
  int32_t color_ = 0;
  int32_t background_ = kNoColor;
  bool sub_ = false, sup_ = false, shadow_ = false, highlight_ = false, error_ = false, hidden_ = false;
  int link_ = -1;
  Align align_ = Align::kLeft;
  int indent_ = 0;
  int32_t paragraph_background_ = kNoColor;
  int list_level_ = 0;

  Line line_;
  int x_ = 0;
  int visible_right_ = 0;
  int min_height_ = 0;
  int min_ascent_ = 0;

  std::vector<Piece> word_;
  int word_width_ = 0;
  int trailing_space_ = 0;
};

}  // namespace

std::string ReplaceEntities(std::string_view text) {
  std::string in(text);
  std::string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    if (in[i] == '&') {
      const Entity* hit = nullptr;
      for (const Entity& e : kEntities)
        if (StartsWith(in, i, e.name)) {
          hit = &e;
          break;
        }
      if (hit) {
        const size_t end = i + hit->name.size();
        if (hit->text == "&&") {
          // The second "&" may start a new entity with what follows: look at
          // it again in place of the ";" (the replacement loop's fixed point).
          out += '&';
          in[end - 1] = '&';
          i = end - 1;
        } else {
          out += hit->text;
          i = end;
        }
        continue;
      }
    }
    out += in[i++];
  }
  return out;
}

Layout LayoutMarkup(std::string_view markup, const LayoutOptions& options, TextMeasurer& measurer) {
  Engine engine(options, measurer);
  engine.Run(ReplaceEntities(markup));
  return engine.Take();
}

std::string Layout::PlainText() const {
  std::string s;
  for (const Line& l : lines) {
    for (const Piece& p : l.pieces)
      if (!p.bullet) s += p.text;
    s += '\n';
  }
  return s;
}

std::vector<std::string> SplitLabelLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

char AcceleratorChar(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    const char c = caption[i + 1];
    if (c == '&') {
      ++i;
      continue;
    }
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return 0;
}

std::string JoinLabelLines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l;
  return s;
}

}  // namespace zs::html
