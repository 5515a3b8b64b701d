#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// An OLE automation string: its byte length, then the characters, then a zero.
template <class C>
class ChaineOle {
 public:
  explicit ChaineOle(const std::basic_string<C> &texte) : bloc_(4 + (texte.size() + 1) * sizeof(C)) {
    const int32_t octets = int32_t(texte.size() * sizeof(C));
    std::memcpy(bloc_.data(), &octets, 4);
    std::memcpy(bloc_.data() + 4, texte.data(), size_t(octets));
  }
  const C *c() const { return reinterpret_cast<const C *>(bloc_.data() + 4); }

 private:
  std::vector<uint8_t> bloc_;
};
