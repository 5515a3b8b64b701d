#pragma once
#include <array>
#include <string>
#include <string_view>

// The program's 8-bit character set. Texts are stored, compared, saved and exported
// as bytes; the symbol font shows some bytes as physics signs, Greek letters and the
// two slope arrows. This table says which Unicode character each byte stands for and
// is used only where text meets the toolkit (display, clipboard, typed text).

inline constexpr char OctetMicro = '\xB5';          // µ, the micro prefix
inline constexpr char OctetOhm = '\x9D';            // Ω
inline constexpr char OctetDegre = '\xB0';          // °
inline constexpr char OctetExposantPlus = '\xB8';   // superscript +
inline constexpr char OctetExposantMoins = '\xAA';  // superscript -
inline constexpr char OctetFrontMontant = '\xC1';   // "Á", drawn as a rising arrow
inline constexpr char OctetFrontDescendant = '\xC0';  // "À", drawn as a falling arrow

// Superscript digits 0..9.
inline constexpr std::array<char, 10> OctetsExposants{
    '\xBA', '\xB9', '\xB2', '\xB3', '\xA5', '\xA9', '\xAC', '\xAD', '\xAE', '\xBC'};

// Ctrl+letter Greek input, letters A..Z: with Shift or Caps Lock (majuscules) and
// without (minuscules). Letters that look the same in both alphabets stay Latin.
inline constexpr std::array<unsigned char, 26> GrecMajuscules{
    0x41, 0x42, 0x43, 0x96, 0x45, 0x97, 0x98, 0x48, 0x49, 0x9F, 0x4B, 0x99, 0x4D,
    0x4E, 0xD8, 0x9A, 0x9B, 0x52, 0x9C, 0x54, 0x55, 0x56, 0x9D, 0x9E, 0x59, 0x5A};
inline constexpr std::array<unsigned char, 26> GrecMinuscules{
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x69, 0x94, 0x6B, 0x88, 0xB5,
    0x8A, 0xF8, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x75, 0x76, 0x90, 0x93, 0x79, 0x95};

// The Unicode code point that byte b is shown as. Every byte has one.
char32_t CodeUnicode(unsigned char b);
// The byte that shows code point c, or '?' when no byte does.
char OctetDe(char32_t c);

// 8-bit text to UTF-8, byte by byte through the table.
std::string VersUtf8(std::string_view octets);
// UTF-8 text (typed, pasted) to 8-bit bytes; characters without a byte, and
// malformed sequences, become '?'.
std::string DepuisUtf8(std::string_view utf8);
