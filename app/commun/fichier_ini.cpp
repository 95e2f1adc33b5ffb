#include "app/commun/fichier_ini.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "platform/files.h"

namespace app {
namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

std::string_view Rogne(std::string_view s) {
  while (!s.empty() && EstBlanc(s.front())) s.remove_prefix(1);
  while (!s.empty() && (EstBlanc(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A value between matching quotes loses them, as the system INI routines do.
std::string SansGuillemets(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// True when the bytes are well-formed UTF-8 (a Windows-1252 text with accented
// letters practically never is).
bool EstUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t suite = 0;
    if (c < 0x80)
      suite = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      suite = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      suite = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      suite = 3;
    else
      return false;
    for (size_t k = 1; k <= suite; ++k)
      if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += suite + 1;
  }
  return true;
}

}  // namespace

bool MemeNomIni(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) {
    bool egaux = true;
    for (size_t i = 0; i < a.size() && egaux; ++i) {
      char x = a[i], y = b[i];
      if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
      if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
      egaux = x == y;
    }
    if (egaux) return true;
  }
  return foundation::EnMinuscules(a) == foundation::EnMinuscules(b);
}

bool TFichierIni::Charge(const std::string& chemin) {
  lignes_.clear();
  std::string octets;
  if (!platform::ReadFile(chemin, octets)) return false;
  LitOctets(octets);
  return true;
}

void TFichierIni::LitOctets(std::string_view octets) {
  lignes_.clear();
  std::string texte;
  // The program writes Windows-1252; a file edited as UTF-8 is read as such.
  if (octets.substr(0, 3) == "\xEF\xBB\xBF")
    texte = std::string(octets.substr(3));
  else if (EstUtf8(octets))
    texte = std::string(octets);
  else
    texte = foundation::DepuisWindows1252(octets);
  size_t debut = 0;
  while (debut < texte.size()) {
    size_t fin = texte.find('\n', debut);
    if (fin == std::string::npos) fin = texte.size();
    std::string_view brute(texte.data() + debut, fin - debut);
    if (!brute.empty() && brute.back() == '\r') brute.remove_suffix(1);
    Ligne l;
    l.Texte = std::string(brute);
    const std::string_view r = Rogne(brute);
    if (!r.empty() && r.front() == '[') {
      const size_t ferme = r.find(']');
      l.genre = Ligne::Genre::Section;
      l.Section = std::string(Rogne(r.substr(1, ferme == std::string_view::npos ? r.npos : ferme - 1)));
    } else if (!r.empty() && r.front() != ';' && r.find('=') != std::string_view::npos) {
      const size_t egal = r.find('=');
      l.genre = Ligne::Genre::Entree;
      l.Cle = std::string(Rogne(r.substr(0, egal)));
      l.Valeur = SansGuillemets(Rogne(r.substr(egal + 1)));
    }
    lignes_.push_back(std::move(l));
    debut = fin + 1;
  }
}

std::string TFichierIni::Octets() const {
  std::string texte;
  for (const Ligne& l : lignes_) {
    switch (l.genre) {
      case Ligne::Genre::Section:
        texte += l.Texte.empty() ? "[" + l.Section + "]" : l.Texte;
        break;
      case Ligne::Genre::Entree:
        texte += l.Texte.empty() ? l.Cle + "=" + l.Valeur : l.Texte;
        break;
      case Ligne::Genre::Autre:
        texte += l.Texte;
        break;
    }
    texte += "\r\n";
  }
  return foundation::VersWindows1252(texte);
}

bool TFichierIni::Enregistre(const std::string& chemin) const {
  const std::string dossier = platform::FolderOf(chemin);
  if (!dossier.empty() && !platform::FolderExists(dossier)) {
    std::error_code ec;
    std::filesystem::create_directories(dossier, ec);
  }
  return platform::WriteFileAtomic(chemin, Octets());
}

size_t TFichierIni::TeteSection(std::string_view section) const {
  for (size_t i = 0; i < lignes_.size(); ++i)
    if (lignes_[i].genre == Ligne::Genre::Section && MemeNomIni(lignes_[i].Section, section)) return i;
  return lignes_.size();
}

size_t TFichierIni::FinSection(size_t tete) const {
  size_t i = tete + 1;
  while (i < lignes_.size() && lignes_[i].genre != Ligne::Genre::Section) ++i;
  return i;
}

size_t TFichierIni::LigneCle(std::string_view section, std::string_view cle) const {
  const size_t tete = TeteSection(section);
  if (tete == lignes_.size()) return std::string::npos;
  const size_t fin = FinSection(tete);
  for (size_t i = tete + 1; i < fin; ++i)
    if (lignes_[i].genre == Ligne::Genre::Entree && MemeNomIni(lignes_[i].Cle, cle)) return i;
  return std::string::npos;
}

bool TFichierIni::SectionExiste(std::string_view section) const { return TeteSection(section) < lignes_.size(); }

bool TFichierIni::CleExiste(std::string_view section, std::string_view cle) const {
  return LigneCle(section, cle) != std::string::npos;
}

std::string TFichierIni::LitTexte(std::string_view section, std::string_view cle, const std::string& defaut) const {
  const size_t i = LigneCle(section, cle);
  return i == std::string::npos ? defaut : lignes_[i].Valeur;
}

int32_t TFichierIni::LitEntier(std::string_view section, std::string_view cle, int32_t defaut) const {
  const size_t i = LigneCle(section, cle);
  if (i == std::string::npos) return defaut;
  const std::string& v = lignes_[i].Valeur;
  int32_t n = 0;
  if (foundation::LitEntier(v, n)) return n;
  // Hexadecimal as "$FF" or "0xFF".
  std::string_view h(v);
  if (!h.empty() && h.front() == '$')
    h.remove_prefix(1);
  else if (h.size() > 2 && h[0] == '0' && (h[1] == 'x' || h[1] == 'X'))
    h.remove_prefix(2);
  else
    return defaut;
  uint32_t u = 0;
  const auto [fin, ec] = std::from_chars(h.data(), h.data() + h.size(), u, 16);
  if (ec != std::errc() || fin != h.data() + h.size() || h.empty()) return defaut;
  return static_cast<int32_t>(u);
}

bool TFichierIni::LitBooleen(std::string_view section, std::string_view cle, bool defaut) const {
  return LitEntier(section, cle, defaut ? 1 : 0) != 0;
}

std::vector<std::pair<std::string, std::string>> TFichierIni::LitSection(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> out;
  const size_t tete = TeteSection(section);
  if (tete == lignes_.size()) return out;
  const size_t fin = FinSection(tete);
  for (size_t i = tete + 1; i < fin; ++i)
    if (lignes_[i].genre == Ligne::Genre::Entree) out.emplace_back(lignes_[i].Cle, lignes_[i].Valeur);
  return out;
}

void TFichierIni::EcritTexte(std::string_view section, std::string_view cle, const std::string& valeur) {
  Ligne l;
  l.genre = Ligne::Genre::Entree;
  l.Valeur = valeur;
  if (const size_t i = LigneCle(section, cle); i != std::string::npos) {
    // The key keeps the spelling the file gives it.
    l.Cle = lignes_[i].Cle;
    lignes_[i] = std::move(l);
    return;
  }
  l.Cle = std::string(cle);
  size_t tete = TeteSection(section);
  if (tete == lignes_.size()) {
    Ligne s;
    s.genre = Ligne::Genre::Section;
    s.Section = std::string(section);
    lignes_.push_back(std::move(s));
  }
  // After the section's last line that is not blank.
  size_t fin = FinSection(tete);
  while (fin > tete + 1 && lignes_[fin - 1].genre == Ligne::Genre::Autre && Rogne(lignes_[fin - 1].Texte).empty()) --fin;
  lignes_.insert(lignes_.begin() + static_cast<std::ptrdiff_t>(fin), std::move(l));
}

void TFichierIni::EcritEntier(std::string_view section, std::string_view cle, int32_t valeur) {
  EcritTexte(section, cle, foundation::EntierEnStr(valeur));
}

void TFichierIni::EcritBooleen(std::string_view section, std::string_view cle, bool valeur) {
  EcritTexte(section, cle, valeur ? "1" : "0");
}

void TFichierIni::EffaceCle(std::string_view section, std::string_view cle) {
  for (size_t i = LigneCle(section, cle); i != std::string::npos; i = LigneCle(section, cle))
    lignes_.erase(lignes_.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace app
