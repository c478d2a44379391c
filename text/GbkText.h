// Character-aware operations on GBK text.
//
// Every text of the engine is a std::string of GBK bytes exactly as it came off
// the wire. A lead byte (0x81-0xFE) followed by a trail byte (0x40-0x7E or
// 0x80-0xFE) forms one character, so searches step over whole characters: a
// one-byte search text never matches the trail byte of a two-byte character
// (the trail of "億", 83 7C, is not a '|'). A high byte that is not followed by
// a trail byte (a stray byte before ",", a tab, a line end, or at the end of
// the text) stands alone as a one-byte character and hides nothing after it.
// charLength is the one place that decides this; everything else walks with it.
// Positions and lengths are byte counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gleaner::gbk {

constexpr std::size_t npos = std::string_view::npos;

constexpr bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
constexpr bool isTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }

// Bytes taken by the character that starts at pos (1 or 2).
std::size_t charLength(std::string_view text, std::size_t pos);

// First occurrence of what at a character boundary, searching from the
// character that starts at from (a boundary itself). npos when absent or when
// what is empty.
std::size_t find(std::string_view text, std::string_view what, std::size_t from = 0);
bool contains(std::string_view text, std::string_view what);

// One left-to-right pass: every non-overlapping occurrence is replaced; the
// replaced text is not searched again.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);
std::string removeAll(std::string_view text, std::string_view what);
// removeAll in the text's own room: a long text is never held twice.
void eraseAll(std::string& text, std::string_view what);

// Cuts at the first occurrence of marker. A missing marker never fails:
// cutting before it gives the empty text, cutting after it the whole text.
std::string before(std::string_view text, std::string_view marker);
std::string after(std::string_view text, std::string_view marker);
// The marker and everything after it; the whole text when it is missing.
std::string fromMarker(std::string_view text, std::string_view marker);

// Removes leading and trailing space, tab, CR, LF, vertical tab and form feed.
std::string trimWhite(std::string_view text);
// What a value typed or pasted into a box is without what a copy from a
// browser or a document brings along around it: trimWhite's white space and
// the full-width space (A1 A1), at both ends. Inside the text both stay.
std::string trimTyped(std::string_view text);
bool isWhite(unsigned char c);

// Decimal conversion as the C library's atoi does it: leading white space is
// skipped, an optional sign, digits up to the first other character; no digits
// give 0. Values beyond the 32-bit range saturate instead of wrapping.
std::int32_t decimalToInt(std::string_view text);

// The text with every control character (C0 and DEL) but CR and LF replaced
// by '?', so that text from pages and rule files cannot drive a terminal when
// it is printed or shown. None of these bytes is ever part of a GBK character.
std::string printable(std::string_view text);

}  // namespace gleaner::gbk
