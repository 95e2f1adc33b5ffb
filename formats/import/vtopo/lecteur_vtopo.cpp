#include "formats/import/vtopo/lecteur_vtopo.h"

#include <array>
#include <cmath>
#include <vector>

#include "formats/import/plausibilite.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/dates.h"
#include "foundation/point_topo.h"
#include "platform/dialogs.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

namespace {

struct NomVTopo {
  const char* VTopo;
  const char* Systeme;
  int32_t Zone;
};

constexpr std::array<NomVTopo, 12> kNomsVTopo{{
    {"LT93", "LT 93", -1},
    {"LT1", "LT 1", -1},
    {"LT2", "LT 2", -1},
    {"LT2E", "LT 2+", -1},
    {"LT3", "LT 3", -1},
    {"LT4", "LT 4", -1},
    {"UTM30E", "UTM ED50", 30},
    {"UTM31E", "UTM ED50", 31},
    {"UTM32E", "UTM ED50", 32},
    {"UTM30", "UTM", 30},
    {"UTM31", "UTM", 31},
    {"UTM32", "UTM", 32},
}};

bool Blanc(char c) { return c == ' ' || c == '\t'; }

bool CommencePar(const std::string& ligne, std::string_view mot) { return ligne.compare(0, mot.size(), mot) == 0; }

// Walks through a line: blank-separated words and ','-separated fields.
class Lecteur {
 public:
  explicit Lecteur(std::string_view texte) : t_(texte) {}
  std::string Mot() {
    while (i_ < t_.size() && Blanc(t_[i_])) ++i_;
    const size_t debut = i_;
    while (i_ < t_.size() && !Blanc(t_[i_])) ++i_;
    return std::string(t_.substr(debut, i_ - debut));
  }
  std::string ChampVirgule() {
    const size_t fin = t_.find(',', i_);
    const size_t n = fin == std::string_view::npos ? t_.size() : fin;
    std::string champ(t_.substr(i_, n - i_));
    i_ = fin == std::string_view::npos ? t_.size() : fin + 1;
    return foundation::OteBlancs(champ);
  }
  std::string Reste() const { return std::string(t_.substr(i_)); }

 private:
  std::string_view t_;
  size_t i_ = 0;
};

// A number of the file; 0 when the text is not one.
double Nombre(const std::string& s) { return foundation::TexteEnReel(s); }

// The text between the first and the second ';' (to the end without a second).
std::string EntrePointsVirgules(const std::string& s) {
  const size_t a = s.find(';');
  if (a == std::string::npos) return {};
  const size_t b = s.find(';', a + 1);
  return s.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
}

// The blank-separated words of a line.
std::vector<std::string> Mots(std::string_view texte) {
  std::vector<std::string> mots;
  Lecteur lu(texte);
  for (std::string m = lu.Mot(); !m.empty(); m = lu.Mot()) mots.push_back(std::move(m));
  return mots;
}

}  // namespace

bool LectureVTopoPossible(const TViseeImport& vi, const std::string& ligne, const std::string& fichier,
                          size_t numeroLigne, std::string& message) {
  const ChampLecture champ = LectureImpossible(vi);
  if (champ == ChampLecture::Aucun) return true;
  // The field's position among the words of the line: station, target, the
  // length or the two counter readings, azimuth, slope, then the dimensions
  // in the order of the file (left and right were swapped when read).
  const TLeverImport* lever = vi.LeverTmp;
  const size_t az = lever && lever->Topofil ? 4 : 3;
  const size_t inv = lever && lever->InvDim ? 1 : 0;
  size_t rang = 2;
  switch (champ) {
    case ChampLecture::TopofilFin: rang = 3; break;
    case ChampLecture::Azimut: rang = az; break;
    case ChampLecture::Pente:
    case ChampLecture::Denivelee:
    case ChampLecture::Profondeur: rang = az + 1; break;
    case ChampLecture::DimGauche: rang = az + 2 + inv; break;
    case ChampLecture::DimDroite: rang = az + 3 - inv; break;
    case ChampLecture::DimHaut: rang = az + 4; break;
    case ChampLecture::DimBas: rang = az + 5; break;
    default: break;
  }
  const std::vector<std::string> mots = Mots(ligne);
  message = MessageLectureImpossible(fichier, numeroLigne, champ, rang < mots.size() ? mots[rang] : std::string());
  return false;
}

int CodeUniteVTopo(std::string_view mot) {
  if (mot == "Deg" || mot == "Clino") return 1;
  if (mot == "Degd" || mot == "Vulc") return 2;
  if (mot == "Gra" || mot == "Deniv") return 3;
  if (mot == "%" || mot == "Prof") return 4;
  return 0;
}

std::string ProjectionVersVTopo(const std::string& systeme, int32_t zone) {
  if (systeme.empty()) return {};
  for (size_t i = 0; i < 6; ++i)
    if (systeme == kNomsVTopo[i].Systeme) return kNomsVTopo[i].VTopo;
  if (zone >= 30 && zone <= 32) {
    if (systeme == "UTM ED50") return "UTM" + foundation::EntierEnStr(zone) + "E";
    if (systeme == "UTM") return "UTM" + foundation::EntierEnStr(zone);
  }
  return {};
}

std::string ProjectionDepuisVTopo(const std::string& nom, int32_t& zone) {
  zone = -1;
  for (const NomVTopo& n : kNomsVTopo)
    if (nom == n.VTopo) {
      zone = n.Zone;
      return n.Systeme;
    }
  return {};
}

bool tImportVTopo::TraiteLignes() { return LitEnTete() && CreeViseesImport() && TransfereTopo(); }

bool tImportVTopo::LitEnTete() {
  size_t i = 0;
  for (; i < LignesFichier.size(); ++i) {
    const std::string& ligne = LignesFichier[i];
    if (CommencePar(ligne, "Param")) break;
    if (CommencePar(ligne, "Trou")) {
      const size_t blanc = ligne.find(' ');
      std::string reste = blanc == std::string::npos ? std::string() : ligne.substr(blanc + 1);
      auto champ = [&reste]() {
        const size_t v = reste.find(',');
        std::string c = reste.substr(0, v);
        reste = v == std::string::npos ? std::string() : reste.substr(v + 1);
        return c;
      };
      ACavite->NomCavite = champ();
      const std::string texteX = champ(), texteY = champ(), texteZ = champ();
      const double x = Nombre(texteX) * 1000;
      const double y = Nombre(texteY) * 1000;
      const double z = Nombre(texteZ);
      // An entrance no grid holds stops the import, named with its field.
      if (const ChampLecture refus = PointImpossible(x, y, z); refus != ChampLecture::Aucun) {
        const std::string& texte = refus == ChampLecture::CoordX   ? texteX
                                   : refus == ChampLecture::CoordY ? texteY
                                                                   : texteZ;
        return RefuseLecture(*this,
                             MessageLectureImpossible(NomFichierImport, i + 1, refus, foundation::OteBlancs(texte)));
      }
      AjoutePointSurf(std::string(), std::string(), x, y, z);
      Import().ProjectionImport = ProjectionDepuisVTopo(reste, Import().FuseauImport);
    } else if (CommencePar(ligne, "Entree")) {
      if (PointsSurfImport.Vide()) AjoutePointSurf(std::string(), std::string(), 0, 0, 0);
      const size_t blanc = ligne.find(' ');
      PointsSurfImport.Last()->DesignPTopo =
          foundation::OteBlancs(blanc == std::string::npos ? std::string() : ligne.substr(blanc + 1));
    }
  }
  if (i >= LignesFichier.size()) return FichierIllisible(Msg(IdMsg::ImportRaisonVTopoSansParam));
  LignesEnTete = i;
  LignesFichier.erase(LignesFichier.begin(), LignesFichier.begin() + static_cast<std::ptrdiff_t>(i));
  return true;
}

void tImportVTopo::LitParamVTopo(const std::string& texte) {
  TLeverImport* l = AjouteLeverImport();
  Lecteur lu(texte);
  // Length instrument.
  l->Topofil = lu.Mot() == "Topof";
  if (l->Topofil) l->CoefTopf = Nombre(lu.Mot());
  l->InstrL = Msg(l->Topofil ? IdMsg::ImportInstrumentTopofil : IdMsg::ImportInstrumentDeca);
  // Units and slope instrument.
  l->UnitAZ = static_cast<uint8_t>(CodeUniteVTopo(lu.Mot()));
  const int s = CodeUniteVTopo(lu.Mot());
  if (s == 3 || s == 4) {
    l->TypeMesurePente = s == 3 ? survey::SaisieDenivLongueur : survey::SaisieProfondeurLongueur;
  } else {
    l->UnitP = static_cast<uint8_t>(CodeUniteVTopo(lu.Mot()));
    l->InstrP = s == 0   ? Msg(IdMsg::ImportInstrumentTopofil)
                : s == 1 ? Msg(IdMsg::ImportInstrumentClino)
                         : Msg(IdMsg::InstrumentTopofilVulcain);
    if (s == 2) l->OrigPentes = 1;
  }
  // Declination and directions.
  l->Decli = Nombre(lu.Mot());
  l->InvAz = lu.ChampVirgule() == "Inv";
  l->InvP = lu.ChampVirgule() == "Inv";
  l->InvDim = lu.Mot() == "Inv";
  l->DimDepart = lu.Mot() == "Dep";
  lu.Mot();
  // Date.
  const std::string date = lu.Mot();
  l->DateLev = foundation::DateNonRenseignee;
  if (date != "--/--/----") {
    foundation::TDateTime d;
    if (foundation::TexteEnDate(date, d)) l->DateLev = d;
  }
  // Comment.
  const std::string reste = lu.Reste();
  if (reste.find(';') != std::string::npos) l->Comment = EntrePointsVirgules(reste);
}

bool tImportVTopo::CreeViseesImport() {
  // A start "*" follows the last main shot (a splay's target is no station).
  const TViseeImport* derniereMain = nullptr;
  for (size_t n = 0; n < LignesFichier.size(); ++n) {
    const std::string& ligne = LignesFichier[n];
    if (CommencePar(ligne, "Param")) {
      LitParamVTopo(ligne.size() > 6 ? ligne.substr(6) : std::string());
      continue;
    }
    if (foundation::OteBlancs(ligne).empty()) continue;
    if (CommencePar(ligne, "[Configuration")) break;
    TLeverImport* lever = DerLeverImporte();
    const TViseeImport* precedente = ViseesImportes.empty() ? nullptr : ViseesImportes.back().get();
    TViseeImport* vi = AjouteViseeImport();
    Lecteur lu(ligne);
    // Station and target.
    vi->DesignStat = lu.Mot();
    if (vi->DesignStat == "*") vi->DesignStat = derniereMain ? derniereMain->DesignVis : std::string();
    vi->DesignVis = lu.Mot();
    vi->ViHabi = vi->DesignVis == "*";
    if (!vi->ViHabi) derniereMain = vi;
    // The slope kind of the trip, and the length: read on the thread counter
    // (a missing start continues the previous shot's end) or measured.
    vi->TypePente = lever->TypeMesurePente;
    if (lever->Topofil) {
      double debut;
      if (!foundation::LitReel(foundation::NettoieNombre(lu.Mot()), debut)) debut = precedente ? precedente->TopoFin : 0;
      vi->TopoDeb = debut;
      vi->TopoFin = Nombre(lu.Mot());
    } else {
      vi->L = Nombre(lu.Mot());
    }
    // Azimuth, slope or depth.
    vi->Az = Nombre(lu.Mot());
    if (lever->UnitAZ == 1) vi->Az = foundation::DegMinVersDegres(vi->Az);
    if (vi->TypePente == survey::SaisieProfondeurLongueur) {
      vi->Prof = Nombre(lu.Mot());
    } else {
      vi->P = Nombre(lu.Mot());
      if (lever->UnitP == 1) vi->P = foundation::DegMinVersDegres(vi->P);
    }
    // Passage dimensions.
    vi->DimG = Nombre(lu.Mot());
    vi->DimD = Nombre(lu.Mot());
    if (lever->InvDim) std::swap(vi->DimG, vi->DimD);
    vi->DimH = Nombre(lu.Mot());
    vi->DimB = Nombre(lu.Mot());
    // Flags and comment.  The exclusion flag is an "E" among the flags,
    // which stand before the comment.
    const std::string reste = lu.Reste();
    const size_t pv = reste.find(';');
    if (pv != std::string::npos) {
      vi->VIExclue = reste.substr(0, pv).find('E') != std::string::npos;
      vi->oldComment = EntrePointsVirgules(reste);
    } else {
      vi->VIExclue = reste.find('E') != std::string::npos;
    }
    // The shot's trip.
    vi->LeverTmp = lever;
    // Readings no instrument can give stop the import, which changes nothing.
    std::string message;
    if (!LectureVTopoPossible(*vi, ligne, NomFichierImport, LignesEnTete + n + 1, message))
      return RefuseLecture(*this, message);
  }
  return true;
}

}  // namespace formats
