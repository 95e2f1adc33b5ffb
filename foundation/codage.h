#pragma once
// Text encodings.  Texts are UTF-8 in memory; the files of the program's own
// formats and the text exports are Windows-1252.  The conversion is lossless for
// every byte value: the five bytes that Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same code.
#include <cstdint>
#include <string>
#include <string_view>

namespace foundation {

// Windows-1252 bytes to UTF-8.
std::string DepuisWindows1252(std::string_view octets);
// UTF-8 to Windows-1252; a character the code page does not hold becomes '?'.
std::string VersWindows1252(std::string_view texte);
// Number of bytes the Windows-1252 form of a UTF-8 text takes.
size_t TailleWindows1252(std::string_view texte);

// ISO-8859-1 bytes to UTF-8 and back ('?' for what Latin-1 does not hold).
std::string DepuisLatin1(std::string_view octets);
std::string VersLatin1(std::string_view texte);

// UTF-8 helpers.  A "character" is a Unicode code point; malformed bytes count
// as one character each.
size_t NombreCaracteres(std::string_view texte);
// Byte offset of character n (the text's size when n is past the end).
size_t OctetDuCaractere(std::string_view texte, size_t n);
// Decodes the character at byte offset i, advancing i; U+FFFD for malformed input.
char32_t LitCaractere(std::string_view texte, size_t& i);
// Whether the bytes are well-formed UTF-8 (no overlong form, no surrogate,
// nothing past U+10FFFF).
bool EstUtf8Valide(std::string_view octets);
void AjouteCaractere(std::string& texte, char32_t c);
std::u32string VersUtf32(std::string_view texte);
// UTF-8 to UTF-16 code units (the order of names as a UTF-16 comparison
// sorts them).
std::u16string VersUtf16(std::string_view texte);
// UTF-16 bytes, little- or big-endian, to UTF-8: a lone surrogate becomes
// U+FFFD and an odd last byte is dropped.
std::string DepuisUtf16(std::string_view octets, bool grandBoutiste);
// The text of a file: a byte-order mark selects UTF-8 (malformed bytes
// becoming U+FFFD) or UTF-16 of either byte order, otherwise Windows-1252.
std::string TexteSelonMarque(std::string_view octets);
// The text of a file a person may have written in any editor: a byte-order
// mark as above; without one, valid UTF-8 holding a byte above 127 is read as
// UTF-8, anything else as Windows-1252.
std::string TexteDetecte(std::string_view octets);
std::string DepuisUtf32(std::u32string_view texte);

// Upper and lower case of a character, for the Latin letters the French texts
// use (ASCII, Latin-1, Latin Extended-A), independent of the process locale.
char32_t Majuscule(char32_t c);
char32_t Minuscule(char32_t c);
std::string EnMajuscules(std::string_view texte);
std::string EnMinuscules(std::string_view texte);

}  // namespace foundation
