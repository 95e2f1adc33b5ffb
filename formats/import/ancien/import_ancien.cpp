#include "formats/import/ancien/import_ancien.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "formats/import/points/import_points_surface.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/lever.h"
#include "survey/liste_points.h"
#include "survey/operateur.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

namespace {

uint16_t Mot(std::string_view o, size_t i) {
  return static_cast<uint16_t>(static_cast<unsigned char>(o[i]) | static_cast<unsigned char>(o[i + 1]) << 8);
}

// Names of 61-byte records: a length byte and up to 60 bytes.
bool LitNoms(std::string_view o, std::vector<std::string>& noms) {
  if (o.size() % TailleNomAncien != 0) return false;
  for (size_t i = 0; i < o.size(); i += TailleNomAncien) {
    const size_t n = static_cast<unsigned char>(o[i]);
    if (n > TailleNomAncien - 1) return false;
    noms.push_back(foundation::DepuisWindows1252(o.substr(i + 1, n)));
  }
  return true;
}

bool CommencePar(const std::string& s, const std::string& debut) {
  return foundation::EnMinuscules(s).starts_with(foundation::EnMinuscules(debut));
}

}  // namespace

bool LitFichiersAnciens(std::string_view gal, std::string_view com, std::string_view lev, std::string_view pts,
                        TFichiersAnciens& f) {
  f = TFichiersAnciens();
  if (!LitNoms(gal, f.Galeries)) return false;
  if (!com.empty()) {
    if (com.size() < TailleEnTeteCom || !LitNoms(com.substr(TailleEnTeteCom), f.Commentaires)) return false;
  }
  if (lev.size() % TailleLeverAncien != 0 || pts.size() % TailleStationAncien != 0) return false;
  f.Levers.reserve(lev.size() / TailleLeverAncien);
  for (size_t i = 0; i < lev.size(); i += TailleLeverAncien) {
    TLevImport l;
    const auto* o = reinterpret_cast<const unsigned char*>(lev.data() + i);
    l.j = o[0];
    l.m = o[1];
    l.a = o[2];
    for (int k = 0; k < 3; ++k) l.inst[k] = o[3 + k];
    for (int k = 0; k < 4; ++k) l.oper[k] = o[6 + k];
    for (int k = 0; k < 6; ++k) l.R6[k] = o[10 + k];
    l.cond = o[16];
    f.Levers.push_back(l);
  }
  f.Stations.reserve(pts.size() / TailleStationAncien);
  for (size_t i = 0; i < pts.size(); i += TailleStationAncien) {
    TStationAncien s;
    s.avt = Mot(pts, i);
    s.code = static_cast<uint8_t>(pts[i + 2]);
    s.num = Mot(pts, i + 3);
    s.az = Mot(pts, i + 5);
    s.pente = static_cast<int16_t>(Mot(pts, i + 7));
    s.longueur = static_cast<int16_t>(Mot(pts, i + 9));
    f.Stations.push_back(s);
  }
  // Every trip a station starts must be in the trip file.
  size_t leves = 0;
  for (const TStationAncien& s : f.Stations) leves += s.A(CodeNatureAncien::leve) ? 1 : 0;
  return leves <= f.Levers.size();
}

foundation::TDateTime DateLeverAncien(const TLevImport& l) {
  foundation::TDateTime d = 0;
  if (l.m == 0 || l.m > 12 || l.a < 60 || l.a > 99 || !foundation::EncodeDate(1900 + l.a, l.m, l.j == 0 ? 1 : l.j, d))
    foundation::EncodeDate(1930, 1, 1, d);
  return d;
}

bool ImporteAncienFormat(const std::string& base, survey::TReseau& reseau) {
  auto impossible = [](const std::string& chemin) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::ImportImpossibleOuvrir) + chemin);
    return false;
  };
  std::string octets[4];
  const char* extensions[4] = {".gal", ".Com", ".Lev", ".Pts"};
  for (int k = 0; k < 4; ++k)
    if (!platform::ReadFile(base + extensions[k], octets[k])) return impossible(base + extensions[k]);
  TFichiersAnciens f;
  if (!LitFichiersAnciens(octets[0], octets[1], octets[2], octets[3], f)) return impossible(base);
  survey::TCavite* cavite = reseau.LaCaviteActive;
  if (!cavite) return impossible(base);
  // Everything is built first, then handed over.
  std::vector<std::unique_ptr<survey::TLever>> levers;
  std::vector<std::unique_ptr<survey::TOperateur>> operateurs;
  std::unordered_map<int, survey::TOperateur*> parNumero;
  size_t prochain = 0;
  for (const TStationAncien& s : f.Stations) {
    if (!s.A(CodeNatureAncien::leve)) continue;
    const TLevImport& l = f.Levers[prochain++];
    auto lever = std::make_unique<survey::TLever>();
    lever->LaDate = DateLeverAncien(l);
    lever->EtalonAZ = 1.0;
    lever->EtalonL = 1.0;
    lever->DoubleAZ = l.cond & 1;
    lever->DoubleP = (l.cond >> 1) & 1;
    lever->VsMire = (l.cond >> 2) & 1;
    if ((l.cond >> 3) & 1) lever->UniteAZ = 1;
    if ((l.cond >> 4) & 1) lever->UniteP = 1;
    // Operator 0 is an empty place.
    for (uint8_t n : l.oper) {
      if (n == 0) continue;
      auto it = parNumero.find(n);
      if (it == parNumero.end()) {
        operateurs.push_back(std::make_unique<survey::TOperateur>());
        it = parNumero.emplace(n, operateurs.back().get()).first;
      }
      if (std::find(lever->Operateurs.begin(), lever->Operateurs.end(), it->second) == lever->Operateurs.end())
        lever->Operateurs.push_back(it->second);
    }
    levers.push_back(std::move(lever));
  }
  reseau.CreeCaviteSurface();
  if (survey::TListedePoints* surface = reseau.LesPointsSurface()) {
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->TypePoint = survey::PointSurface;
    surface->Add(std::move(p));
  }
  for (auto& o : operateurs) reseau.ListeOperateurs.Add(std::move(o));
  for (auto& l : levers) cavite->Levers.Add(std::move(l));
  survey::Document().DocumentModifie = true;
  return true;
}

std::vector<TPointImport> LitCoordonnees(const std::vector<std::string>& lignes) {
  std::vector<TPointImport> points;
  std::string nomGal = Msg(IdMsg::ImportAncienGaleriePrincipale);
  bool debut = true;
  for (const std::string& brute : lignes) {
    const std::string ligne = foundation::OteBlancs(brute);
    if (ligne.empty()) continue;
    if (CommencePar(ligne, "galerie")) {
      std::string reste = ligne;
      foundation::ExtraitChamp(reste, ';');
      nomGal = foundation::OteBlancs(foundation::ExtraitChamp(reste, ';'));
      debut = true;
      continue;
    }
    if (CommencePar(ligne, "bas flèche") || CommencePar(ligne, "haut flèche")) continue;
    std::string reste = ligne;
    TPointImport p;
    p.Precedent = foundation::OteBlancs(foundation::ExtraitChamp(reste, ';'));
    p.NumPoint = foundation::OteBlancs(foundation::ExtraitChamp(reste, ';'));
    if (!foundation::LitReel(foundation::NettoieNombre(foundation::ExtraitChamp(reste, ';')), p.X)) continue;
    if (!foundation::LitReel(foundation::NettoieNombre(foundation::ExtraitChamp(reste, ';')), p.Y)) continue;
    p.DebutGal = debut;
    if (debut) p.NomGal = nomGal;
    debut = false;
    points.push_back(std::move(p));
  }
  return points;
}

bool ImporteCaviteCoordonnees(const std::string& chemin, survey::TCavite& cavite) {
  std::string octets;
  if (!platform::ReadFile(chemin, octets)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::ImportImpossibleOuvrir) + chemin);
    return false;
  }
  for (const TPointImport& p : LitCoordonnees(LignesFichierPoints(octets))) {
    auto station = std::make_unique<survey::TPointSpeleo>();
    station->DesignPTopo = p.NumPoint;
    cavite.ImportePointAncien(std::move(station), p.DebutGal ? p.NomGal : std::string());
  }
  return true;
}

}  // namespace formats
