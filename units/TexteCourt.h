#pragma once
#include <compare>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// A text of at most N bytes in the program's 8-bit character set. Anything longer
// is cut to N bytes on construction, assignment and concatenation; it never fails.
// Unit texts and labels are TexteCourt<32>, export lines TexteCourt<255>.
template <std::size_t N = 32>
class TexteCourt {
 public:
  static constexpr std::size_t Capacite = N;

  TexteCourt() = default;
  TexteCourt(std::string_view s) : s_(s.substr(0, N)) {}
  TexteCourt(const char *s) : TexteCourt(std::string_view(s ? s : "")) {}
  TexteCourt(const std::string &s) : TexteCourt(std::string_view(s)) {}
  TexteCourt(char c) : s_(1, c) {}
  template <std::size_t M>
  TexteCourt(const TexteCourt<M> &autre) : TexteCourt(autre.vue()) {}

  const std::string &str() const { return s_; }
  const char *c_str() const { return s_.c_str(); }
  std::string_view vue() const { return s_; }
  operator std::string_view() const { return s_; }

  std::size_t size() const { return s_.size(); }
  bool empty() const { return s_.empty(); }
  char operator[](std::size_t i) const { return s_[i]; }
  auto begin() const { return s_.begin(); }
  auto end() const { return s_.end(); }

  TexteCourt &operator+=(std::string_view s) {
    s_.append(s.substr(0, N - s_.size()));
    return *this;
  }
  TexteCourt &operator+=(char c) {
    if (s_.size() < N) s_.push_back(c);
    return *this;
  }

  friend TexteCourt operator+(TexteCourt a, const TexteCourt &b) { return a += b.vue(); }
  friend TexteCourt operator+(TexteCourt a, std::string_view b) { return a += b; }
  friend TexteCourt operator+(TexteCourt a, const char *b) { return a += std::string_view(b); }
  friend TexteCourt operator+(TexteCourt a, char b) { return a += b; }
  friend TexteCourt operator+(std::string_view a, const TexteCourt &b) {
    TexteCourt r(a);
    return r += b.vue();
  }
  friend TexteCourt operator+(const char *a, const TexteCourt &b) {
    return std::string_view(a) + b;
  }
  friend TexteCourt operator+(const std::string &a, const TexteCourt &b) {
    return std::string_view(a) + b;
  }
  friend TexteCourt operator+(TexteCourt a, const std::string &b) { return a += b; }

  friend bool operator==(const TexteCourt &a, const TexteCourt &b) { return a.s_ == b.s_; }
  template <std::size_t M>
  friend bool operator==(const TexteCourt &a, const TexteCourt<M> &b) {  // never through a cut
    return a.vue() == b.vue();
  }
  friend bool operator==(const TexteCourt &a, std::string_view b) { return a.vue() == b; }
  friend bool operator==(const TexteCourt &a, const char *b) { return a.vue() == b; }
  friend bool operator==(const TexteCourt &a, const std::string &b) { return a.s_ == b; }
  friend std::strong_ordering operator<=>(const TexteCourt &a, const TexteCourt &b) {
    return a.s_ <=> b.s_;
  }

 private:
  std::string s_;
};

using Texte32 = TexteCourt<32>;
using Texte255 = TexteCourt<255>;

template <std::size_t N>
std::ostream &operator<<(std::ostream &o, const TexteCourt<N> &t) {
  return o << t.vue();
}
