#include "common/format.h"

#include <cstdio>

std::string FormatSize(int64_t bytes) {
  static const char* const units[] = {"Byte", "KB", "MB", "GB"};
  float value = static_cast<float>(bytes);
  int unit = 0;
  while (unit < 3 && value >= 1024.0f) {
    value /= 1024.0f;
    ++unit;
  }
  char text[64];
  std::snprintf(text, sizeof(text), "%.1f", static_cast<double>(value));
  std::string number = text;
  // The decision rests on the rounded text: 1.96 KB reads "2.0", so it becomes "2".
  if (!number.empty() && number.back() == '0') {
    std::snprintf(text, sizeof(text), "%.0f", static_cast<double>(value));
    number = text;
  }
  return number + " " + units[unit];
}
