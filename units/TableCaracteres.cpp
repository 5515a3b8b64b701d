#include "TableCaracteres.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// Bytes 0x80..0x9F: the symbol font's Greek letters, plus the two quotes it keeps.
constexpr std::array<char32_t, 32> Plage80{
    U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η',  // 80..87
    U'λ', U'μ', U'ν', U'π', U'θ', U'ρ', U'σ', U'τ',  // 88..8F
    U'ω', U'‘', U'’', U'ξ', U'ϕ', U'ζ', U'Δ', U'Φ',  // 90..97
    U'Γ', U'Λ', U'Π', U'Θ', U'Σ', U'Ω', U'Ξ', U'ϑ',  // 98..9F
};

// Bytes from 0xA0 on that the symbol font draws otherwise than Latin-1.
constexpr std::array<std::pair<unsigned char, char32_t>, 12> Remplacements{{
    {0xA5, U'⁴'}, {0xA9, U'⁵'}, {0xAA, U'⁻'}, {0xAC, U'⁶'}, {0xAD, U'⁷'},
    {0xAE, U'⁸'}, {0xB8, U'⁺'}, {0xBA, U'⁰'}, {0xBC, U'⁹'},
    {0xC0, U'↘'}, {0xC1, U'↗'},
    {0xB5, U'µ'},
}};

constexpr std::array<char32_t, 256> ConstruitTable() {
  std::array<char32_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<char32_t>(b);  // ASCII, Latin-1
  for (int b = 0; b < 32; ++b) t[0x80 + b] = Plage80[b];
  for (auto [b, c] : Remplacements) t[b] = c;
  return t;
}

constexpr std::array<char32_t, 256> Table = ConstruitTable();

void AjouteUtf8(std::string &s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at s[i], advancing i; a malformed sequence gives
// U+FFFD and advances by one byte.
char32_t LitUtf8(std::string_view s, std::size_t &i) {
  constexpr char32_t Invalide = 0xFFFD;
  const auto b0 = static_cast<unsigned char>(s[i]);
  int suite;
  if (b0 < 0x80) suite = 0;
  else if ((b0 & 0xE0) == 0xC0) suite = 1;
  else if ((b0 & 0xF0) == 0xE0) suite = 2;
  else if ((b0 & 0xF8) == 0xF0) suite = 3;
  else suite = -1;
  if (suite < 0 || i + suite >= s.size()) {
    ++i;
    return suite == 0 ? b0 : Invalide;
  }
  char32_t c = b0 & (0x7F >> suite);
  for (int k = 1; k <= suite; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return Invalide;
    }
    c = (c << 6) | (b & 0x3F);
  }
  constexpr char32_t Minimum[] = {0, 0x80, 0x800, 0x10000};
  if (c < Minimum[suite] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return Invalide;
  }
  i += suite + 1;
  return c;
}

}  // namespace

char32_t CodeUnicode(unsigned char b) { return Table[b]; }

char OctetDe(char32_t c) {
  if (c == U'\u2126') return OctetOhm;  // the ohm sign is the same letter as omega
  const auto it = std::find(Table.begin(), Table.end(), c);
  return it == Table.end() ? '?' : static_cast<char>(it - Table.begin());
}

std::string VersUtf8(std::string_view octets) {
  std::string r;
  r.reserve(octets.size() * 2);
  for (char b : octets) AjouteUtf8(r, CodeUnicode(static_cast<unsigned char>(b)));
  return r;
}

std::string DepuisUtf8(std::string_view utf8) {
  std::string r;
  r.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) r += OctetDe(LitUtf8(utf8, i));
  return r;
}
