#include "foundation/codage.h"

#include <algorithm>
#include <array>

namespace foundation {
namespace {

// Code points of bytes 0x80..0x9F; the undefined bytes keep their own value.
constexpr std::array<char16_t, 32> kHaut1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Car1252(unsigned char o) {
  if (o >= 0x80 && o < 0xA0) return kHaut1252[o - 0x80];
  return o;
}

int Octet1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kHaut1252[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

char32_t LitCaractere(std::string_view t, size_t& i) {
  const auto o = static_cast<unsigned char>(t[i]);
  if (o < 0x80) {
    ++i;
    return o;
  }
  int n;
  char32_t c;
  if ((o & 0xE0) == 0xC0) {
    n = 1;
    c = o & 0x1F;
  } else if ((o & 0xF0) == 0xE0) {
    n = 2;
    c = o & 0x0F;
  } else if ((o & 0xF8) == 0xF0) {
    n = 3;
    c = o & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + n >= t.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k <= n; ++k) {
    const auto s = static_cast<unsigned char>(t[i + k]);
    if ((s & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (s & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are malformed.
  static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += n + 1;
  return c;
}

void AjouteCaractere(std::string& t, char32_t c) {
  if (c < 0x80) {
    t.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    t.push_back(static_cast<char>(0xC0 | (c >> 6)));
    t.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    t.push_back(static_cast<char>(0xE0 | (c >> 12)));
    t.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    t.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    t.push_back(static_cast<char>(0xF0 | (c >> 18)));
    t.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    t.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    t.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string DepuisWindows1252(std::string_view octets) {
  std::string r;
  r.reserve(octets.size() + octets.size() / 8);
  for (char o : octets) {
    const auto u = static_cast<unsigned char>(o);
    if (u < 0x80)
      r.push_back(o);
    else
      AjouteCaractere(r, Car1252(u));
  }
  return r;
}

std::string VersWindows1252(std::string_view t) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size();) {
    if (static_cast<unsigned char>(t[i]) < 0x80) {
      r.push_back(t[i++]);
      continue;
    }
    const int o = Octet1252(LitCaractere(t, i));
    r.push_back(o < 0 ? '?' : static_cast<char>(o));
  }
  return r;
}

size_t TailleWindows1252(std::string_view t) { return NombreCaracteres(t); }

std::string DepuisLatin1(std::string_view octets) {
  std::string r;
  r.reserve(octets.size());
  for (char o : octets) AjouteCaractere(r, static_cast<unsigned char>(o));
  return r;
}

std::string VersLatin1(std::string_view t) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size();) {
    const char32_t c = LitCaractere(t, i);
    r.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  }
  return r;
}

size_t NombreCaracteres(std::string_view t) {
  size_t n = 0;
  for (size_t i = 0; i < t.size(); ++n) LitCaractere(t, i);
  return n;
}

size_t OctetDuCaractere(std::string_view t, size_t n) {
  size_t i = 0;
  while (n > 0 && i < t.size()) {
    LitCaractere(t, i);
    --n;
  }
  return i;
}

std::u32string VersUtf32(std::string_view t) {
  std::u32string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size();) r.push_back(LitCaractere(t, i));
  return r;
}

std::string DepuisUtf32(std::u32string_view t) {
  std::string r;
  r.reserve(t.size());
  for (char32_t c : t) AjouteCaractere(r, c);
  return r;
}

char32_t Majuscule(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs: mostly even upper / odd lower, shifted in two runs.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    if (c >= 0x100 && c <= 0x177 && c != 0x138 && c != 0x149) return (c % 2 == 1) ? c - 1 : c;
  }
  return c;
}

char32_t Minuscule(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x130) return 'i';
    if (c >= 0x100 && c <= 0x177 && c != 0x138 && c != 0x149) return (c % 2 == 0) ? c + 1 : c;
  }
  return c;
}

std::string EnMajuscules(std::string_view t) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size();) AjouteCaractere(r, Majuscule(LitCaractere(t, i)));
  return r;
}

std::string EnMinuscules(std::string_view t) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size();) AjouteCaractere(r, Minuscule(LitCaractere(t, i)));
  return r;
}

bool EstUtf8Valide(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    char32_t v = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      v = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      v = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      v = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      v = (v << 6) | (d & 0x3F);
    }
    if ((n == 2 && v < 0x800) || (n == 3 && (v < 0x10000 || v > 0x10FFFF)) || (v >= 0xD800 && v <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

std::u16string VersUtf16(std::string_view texte) {
  std::u16string r;
  r.reserve(texte.size());
  size_t i = 0;
  while (i < texte.size()) {
    char32_t c = LitCaractere(texte, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      r.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      r.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      r.push_back(static_cast<char16_t>(c));
    }
  }
  return r;
}

std::string DepuisUtf16(std::string_view octets, bool grandBoutiste) {
  std::string r;
  r.reserve(octets.size());
  const auto unite = [&](size_t i) {
    const auto a = static_cast<unsigned char>(octets[i]), b = static_cast<unsigned char>(octets[i + 1]);
    return static_cast<char32_t>(grandBoutiste ? (a << 8) | b : (b << 8) | a);
  };
  for (size_t i = 0; i + 1 < octets.size(); i += 2) {
    char32_t c = unite(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < octets.size()) {
      const char32_t bas = unite(i + 2);
      if (bas >= 0xDC00 && bas < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (bas - 0xDC00);
        i += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
    AjouteCaractere(r, c);
  }
  return r;
}

std::string TexteSelonMarque(std::string_view octets) {
  if (octets.substr(0, 3) == "\xEF\xBB\xBF") {
    const std::string_view utf8 = octets.substr(3);
    if (EstUtf8Valide(utf8)) return std::string(utf8);
    std::string r;
    size_t i = 0;
    while (i < utf8.size()) AjouteCaractere(r, LitCaractere(utf8, i));
    return r;
  }
  if (octets.substr(0, 2) == "\xFF\xFE") return DepuisUtf16(octets.substr(2), false);
  if (octets.substr(0, 2) == "\xFE\xFF") return DepuisUtf16(octets.substr(2), true);
  return DepuisWindows1252(octets);
}

std::string TexteDetecte(std::string_view octets) {
  if (octets.starts_with("\xEF\xBB\xBF") || octets.starts_with("\xFF\xFE") || octets.starts_with("\xFE\xFF"))
    return TexteSelonMarque(octets);
  const bool nonAscii =
      std::any_of(octets.begin(), octets.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return nonAscii && EstUtf8Valide(octets) ? std::string(octets) : DepuisWindows1252(octets);
}

}  // namespace foundation
