#include "storage/engine_filter.h"

namespace zs::engine {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseFilter(std::string_view text, FilterExpr* out, std::string* error) {
  size_t i = 0;
  const size_t n = text.size();
  auto skip_blanks = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };

  skip_blanks();
  if (i >= n || !IsLetter(text[i])) return fail("a filter must start with a field name");
  const size_t name_start = i;
  while (i < n && (IsLetter(text[i]) || IsDigit(text[i]))) ++i;
  std::string field(text.substr(name_start, i - name_start));

  skip_blanks();
  if (i >= n || text[i] != '=') return fail("only the operator \"=\" is supported in a filter");
  ++i;
  skip_blanks();

  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= n || !IsDigit(text[i])) return fail("a filter compares a field with an integer");
  int64_t magnitude = 0;
  while (i < n && IsDigit(text[i])) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{2147483648}) return fail("the number in the filter is out of range");
    ++i;
  }
  skip_blanks();
  if (i != n) return fail("unexpected text after the number in the filter");
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX || value < INT32_MIN) return fail("the number in the filter is out of range");

  if (out) {
    out->field = std::move(field);
    out->value = static_cast<int32_t>(value);
  }
  return true;
}

}  // namespace zs::engine
