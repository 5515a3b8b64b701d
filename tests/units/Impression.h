#pragma once
#include <cstdio>
#include <ostream>

#include "TexteCourt.h"

// Failure messages show 8-bit bytes as \xNN so that a wrong superscript is visible.
template <std::size_t N>
void PrintTo(const TexteCourt<N> &t, std::ostream *o) {
  *o << '"';
  for (char c : t) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      *o << c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      *o << hex;
    }
  }
  *o << '"';
}
