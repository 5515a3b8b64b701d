#pragma once
// What crosses the boundary of the device libraries besides plain integers: the frame
// record that a burst fills and the strings that name a device. Header-only and plain
// C++, so that the device-access library, the oscilloscope model, the generator drivers,
// the generator libraries and their tests all read one layout.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The frame record of one burst: each channel's sample count and its samples. The
// reserved bytes are never written.
struct RecordTrame {
  uint8_t Reserve[68];
  int32_t Compte1, Compte2;
  uint8_t Zone1[128], Zone2[128];
};
static_assert(sizeof(RecordTrame) == 332);
static_assert(offsetof(RecordTrame, Compte1) == 68 && offsetof(RecordTrame, Compte2) == 72);
static_assert(offsetof(RecordTrame, Zone1) == 76 && offsetof(RecordTrame, Zone2) == 204);

// Where channel 1's or 2's count and samples lie, for code that fills the record as
// bytes: a caller's buffer need not be aligned for the struct.
constexpr std::size_t PositionCompte(int voie) {
  return voie == 1 ? offsetof(RecordTrame, Compte1) : offsetof(RecordTrame, Compte2);
}
constexpr std::size_t PositionZone(int voie) {
  return voie == 1 ? offsetof(RecordTrame, Zone1) : offsetof(RecordTrame, Zone2);
}

// A string as the device libraries take it (an OLE automation string): the pointer
// handed over is to the first character, the length in bytes sits just before it as a
// 32-bit integer, and a zero character follows the text. Room for Capacite - 1
// characters; a longer text is cut. Octets is public so that a test can make it lie.
template <class C, std::size_t Capacite = 32>
struct ChaineOle {
  int32_t Octets = 0;
  C Texte[Capacite] = {};

  ChaineOle() = default;
  explicit ChaineOle(std::basic_string_view<C> texte) {
    const std::size_t n = std::min(texte.size(), Capacite - 1);
    std::copy_n(texte.data(), n, Texte);
    Octets = static_cast<int32_t>(n * sizeof(C));
  }
  const C *c() const { return Texte; }
};
static_assert(offsetof(ChaineOle<char>, Texte) == sizeof(int32_t));
static_assert(offsetof(ChaineOle<char16_t>, Texte) == sizeof(int32_t));

// The byte length stored just before such a string's first character; 0 for no string.
inline int32_t LongueurOle(const void *chaine) {
  if (!chaine) return 0;
  int32_t octets;
  std::memcpy(&octets, static_cast<const uint8_t *>(chaine) - sizeof octets, sizeof octets);
  return octets;
}

// The characters that the length covers, a last partial one left out; none for no string
// or a length below 1. What a reader accepts of them is its own rule.
template <class C>
std::basic_string_view<C> TexteOle(const C *chaine) {
  const int32_t octets = LongueurOle(chaine);
  if (octets <= 0) return {};
  return {chaine, static_cast<std::size_t>(octets) / sizeof(C)};
}
