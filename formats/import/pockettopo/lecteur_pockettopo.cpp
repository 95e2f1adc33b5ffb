#include "formats/import/pockettopo/lecteur_pockettopo.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "formats/import/plausibilite.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// Sizes of the smallest trip, shot and reference records and of a polyline
// point.
constexpr size_t TailleLeverMin = 8 + 1 + 2;
constexpr size_t TailleViseeMin = 4 + 4 + 4 + 2 + 2 + 1 + 1 + 2;
constexpr size_t TailleReferenceMin = 4 + 8 + 8 + 4 + 1;
constexpr size_t TaillePoint = 8;
// Days from 1 January of year 1 to 30 December 1899, the day zero of dates.
constexpr double JoursAvantDateZero = 693593;


}  // namespace

std::string TexteIdStationTop(uint32_t v) {
  if (v == 0x80000000u) return {};
  if (v > 0x80000000u) return std::to_string(v - 0x80000001u);
  return std::to_string(v >> 16) + "." + std::to_string(v & 0xFFFFu);
}

// --- TCurseurTop --------------------------------------------------------------------------

bool TCurseurTop::Lis(void* dest, size_t n) {
  if (n > Reste()) return false;
  std::memcpy(dest, o_.data() + i_, n);
  i_ += n;
  return true;
}

bool TCurseurTop::Octet(uint8_t& v) { return Lis(&v, 1); }

bool TCurseurTop::Naturel16(uint16_t& v) {
  uint8_t b[2];
  if (!Lis(b, 2)) return false;
  v = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool TCurseurTop::Naturel32(uint32_t& v) {
  uint8_t b[4];
  if (!Lis(b, 4)) return false;
  v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
      (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool TCurseurTop::Entier16(int16_t& v) {
  uint16_t u;
  if (!Naturel16(u)) return false;
  v = static_cast<int16_t>(u);
  return true;
}

bool TCurseurTop::Entier32(int32_t& v) {
  uint32_t u;
  if (!Naturel32(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool TCurseurTop::Entier64(int64_t& v) {
  uint8_t b[8];
  if (!Lis(b, 8)) return false;
  uint64_t u = 0;
  for (int k = 7; k >= 0; --k) u = (u << 8) | b[k];
  v = static_cast<int64_t>(u);
  return true;
}

bool TCurseurTop::Angle(double& degres) {
  uint16_t u;
  if (!Naturel16(u)) return false;
  degres = u * 360.0 / 65536.0;
  return true;
}

bool TCurseurTop::Chaine(std::string& texte) {
  const size_t debut = i_;
  uint8_t b0 = 0, b1 = 0;
  if (!Octet(b0)) return false;
  size_t n = b0;
  if (b0 >= 128) {
    // A length of 16384 bytes or more would need a third byte.
    if (!Octet(b1) || b1 >= 128) {
      i_ = debut;
      return false;
    }
    n = (b0 - 128u) + 128u * b1;
  }
  if (n > Reste()) {
    i_ = debut;
    return false;
  }
  const std::string_view octets = o_.substr(i_, n);
  i_ += n;
  texte = foundation::EstUtf8Valide(octets) ? std::string(octets) : foundation::DepuisWindows1252(octets);
  return true;
}

bool TCurseurTop::IdStation(std::string& nom) {
  uint32_t v;
  if (!Naturel32(v)) return false;
  nom = TexteIdStationTop(v);
  return true;
}

bool TCurseurTop::Point(TPointCroquisTop& p) {
  int32_t x, y;
  if (TaillePoint > Reste() || !Entier32(x) || !Entier32(y)) return false;
  p.X = x / 1000.0;
  p.Y = -(y / 1000.0);
  return true;
}

bool TCurseurTop::Correspondance() {
  TPointCroquisTop p;
  int32_t echelle;
  if (12 > Reste()) return false;
  return Point(p) && Entier32(echelle);
}

bool TCurseurTop::Nombre(size_t tailleMin, int32_t& n) {
  const size_t debut = i_;
  if (!Entier32(n)) return false;
  if (n < 0 || static_cast<size_t>(n) > Reste() / tailleMin) {
    i_ = debut;
    return false;
  }
  return true;
}

// --- TImportFichierTop --------------------------------------------------------------------

bool TImportFichierTop::LisFichierTop(const std::string& chemin) {
  EstNoTop = false;
  ExigeLecturesCoherentes = true;  // a leg is measured three times
  premiereVisee_ = true;
  DessinPlan = {};
  DessinCoupe = {};
  fichierLu_ = false;
  octets_.clear();
  const bool lu = platform::ReadFile(chemin, octets_);
  // "top" in any case, then version 3.
  auto lettre = [this](size_t i, char c) { return octets_[i] == c || octets_[i] == c - 'a' + 'A'; };
  const bool enTete = lu && octets_.size() >= 4 && lettre(0, 't') && lettre(1, 'o') && lettre(2, 'p') && octets_[3] == 3;
  if (!enTete) {
    octets_.clear();
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::ImportPasPocketTopo3));
    Abandon = true;  // the message is said: the pipeline adds none
    return FichierIllisible();
  }
  fichierLu_ = true;
  const bool ok = TraiteLignes();
  fichierLu_ = false;
  octets_.clear();
  octets_.shrink_to_fit();
  return ok;
}

bool TImportFichierTop::LitLeverTop(TCurseurTop& c) {
  int64_t temps = 0;
  std::string commentaire;
  double decli = 0;
  if (!c.Entier64(temps) || !c.Chaine(commentaire) || !c.Angle(decli)) return false;
  TLeverImport* l = AjouteLeverImport();
  // 100-ns intervals from 1 January of year 1, to the nearest millisecond;
  // a time outside the calendar is no date.
  const double jours = std::round(static_cast<double>(temps) / 1e4) / 864e5 - JoursAvantDateZero;
  int a, m, j;
  l->DateLev = foundation::DecodeDate(jours, a, m, j) ? jours : 0;
  l->InstrAz = l->InstrL = l->InstrP = "DistoX";
  l->Comment = commentaire;
  l->Decli = decli > 180 ? decli - 360 : decli;
  return true;
}

bool TImportFichierTop::LitViseeTop(TCurseurTop& c, int32_t nombreLevers) {
  std::string de, a, commentaire;
  int32_t distance = 0;
  double az = 0, p = 0;
  uint8_t drapeaux = 0, roulis = 0;
  int16_t lever = 0;
  if (!c.IdStation(de) || !c.IdStation(a) || !c.Entier32(distance) || !c.Angle(az) || !c.Angle(p) ||
      !c.Octet(drapeaux) || !c.Octet(roulis) || !c.Entier16(lever))
    return false;
  if ((drapeaux & 2) && !c.Chaine(commentaire)) return false;
  // A trip index beyond the trips read makes the file corrupt.
  if (nombreLevers > 0 && lever >= nombreLevers) return false;
  if (a == "0.0") a.clear();
  if (de == "0.0") de = (!a.empty() || premiereVisee_) ? "0" : std::string();
  if (!de.empty() && !a.empty()) premiereVisee_ = false;
  if (de.empty() && a.empty()) return true;  // no station: dropped
  if (de.empty()) {
    // A shot towards a station from none is read from that station backwards.
    de = a;
    a.clear();
    az = std::fmod(az + 180, 360);
    p = std::fmod(360 - p, 360);
  }
  TViseeImport* vi = AjouteViseeImport();
  vi->DesignStat = de;
  vi->DesignVis = a;
  vi->ViHabi = a.empty();
  vi->L = distance / 1000.0;
  vi->Az = az;
  vi->P = p;
  if (nombreLevers > 0 && lever >= 0) vi->LeverTmp = UnLeverImporte(lever);
  vi->CoupeInversee = (drapeaux & 1) != 0;
  // A shot drawn reversed is developed backwards, as the text export does.
  vi->SensCoupe = static_cast<int8_t>(vi->CoupeInversee ? -1 : 1);
  vi->oldComment = commentaire;
  return true;
}

bool TImportFichierTop::LitReferenceTop(TCurseurTop& c) {
  std::string nom, commentaire;
  int64_t est = 0, nord = 0;
  int32_t altitude = 0;
  if (!c.IdStation(nom) || !c.Entier64(est) || !c.Entier64(nord) || !c.Entier32(altitude) || !c.Chaine(commentaire))
    return false;
  AjoutePointSurf(nom, commentaire, static_cast<double>(est) / 1000, static_cast<double>(nord) / 1000,
                  altitude / 1000.0);
  return true;
}

bool TImportFichierTop::LitDessinTop(TCurseurTop& c, TDessinTop& dessin) {
  if (!c.Correspondance()) return false;
  for (;;) {
    uint8_t id = 0;
    if (!c.Octet(id)) return false;  // a drawing without its end
    if (id == 0) return true;
    if (id == 1) {
      int32_t n = 0;
      if (!c.Nombre(TaillePoint, n)) return false;
      TPolyligneTop poly;
      poly.Points.resize(static_cast<size_t>(n));
      for (TPointCroquisTop& p : poly.Points)
        if (!c.Point(p)) return false;
      if (!c.Octet(poly.Couleur)) return false;
      dessin.Polylignes.push_back(std::move(poly));
    } else if (id == 3) {
      TCoupeTop coupe;
      int32_t inutile = 0;
      if (!c.Point(coupe.Position) || !c.IdStation(coupe.Station) || !c.Entier32(inutile)) return false;
      dessin.Coupes.push_back(std::move(coupe));
    }
    // Any other id is consumed alone.
  }
}

bool TImportFichierTop::TraiteLignes() {
  if (!fichierLu_) return FichierIllisible();
  TCurseurTop c(octets_, 4);
  // Where the reading stands and in what, for the message of a damaged file:
  // a record is named by the byte it starts at, a drawing by the byte its
  // reading stopped at.
  size_t debut = c.Position();
  std::string partie;
  auto lit = [&](IdMsg quoi, std::vector<std::string> rang = {}) {
    debut = c.Position();
    partie = foundation::RemplaceMarques(Msg(quoi), rang);
  };
  auto endommage = [&](bool arret) {
    const std::string message = foundation::RemplaceMarques(
        Msg(IdMsg::ImportTopEndommage), {NomFichierImport, std::to_string(arret ? c.Position() : debut),
                                         std::to_string(octets_.size()), partie});
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, message);
    Abandon = true;  // the message is said: the pipeline adds none
    return FichierIllisible();
  };
  int32_t n = 0;
  lit(IdMsg::ImportTopNombreLevers);
  if (!c.Nombre(TailleLeverMin, n)) return endommage(false);
  for (int32_t i = 0; i < n; ++i) {
    lit(IdMsg::ImportTopLever, {std::to_string(i + 1), std::to_string(n)});
    if (!LitLeverTop(c)) return endommage(false);
  }
  const auto nombreLevers = static_cast<int32_t>(LeversImportes.size());
  lit(IdMsg::ImportTopNombreVisees);
  if (!c.Nombre(TailleViseeMin, n)) return endommage(false);
  for (int32_t i = 0; i < n; ++i) {
    lit(IdMsg::ImportTopVisee, {std::to_string(i + 1), std::to_string(n)});
    if (!LitViseeTop(c, nombreLevers)) return endommage(false);
  }
  lit(IdMsg::ImportTopNombreReferences);
  if (!c.Nombre(TailleReferenceMin, n)) return endommage(false);
  for (int32_t i = 0; i < n; ++i) {
    lit(IdMsg::ImportTopReference, {std::to_string(i + 1), std::to_string(n)});
    if (!LitReferenceTop(c)) return endommage(false);
  }
  lit(IdMsg::ImportTopVueGenerale);
  if (!c.Correspondance()) return endommage(false);
  lit(IdMsg::ImportTopCroquisPlan);
  if (!LitDessinTop(c, DessinPlan)) return endommage(true);
  lit(IdMsg::ImportTopCroquisCoupe);
  if (!LitDessinTop(c, DessinCoupe)) return endommage(true);
  if (ViseesImportes.empty()) return FichierIllisible();
  // The file names no cave: the cave takes the file's name.
  if (ACavite->NomCavite.empty()) ACavite->NomCavite = DesignFich;
  return TransfereTopo();
}

bool TImportFichierTop::VerifieLectures() {
  // The shots as built: a leg's readings are its consistent ones, averaged.
  auto refuse = [&](const survey::TValeurVisee& v, const std::string& de, const std::string& a) {
    const ChampLecture champ = LectureImpossible(v);
    if (champ == ChampLecture::Aucun) return false;
    const std::string texte = champ == ChampLecture::Longueur ? TexteLongueur(v.Long)
                              : champ == ChampLecture::Azimut ? TexteAngle(v.Az)
                                                              : TexteAngle(v.pente);
    RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, PositionVisee(de, a), champ, texte));
    return true;
  };
  auto nom = [](const survey::TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); };
  for (const survey::TVisee* v : ACavite->Visees) {
    if (refuse(*v, nom(v->PointStation), nom(v->PointVise))) return false;
    for (const survey::TViseeHabi* h : v->ViseesHabi)
      if (refuse(*h, nom(h->RefPtStat ? v->PointStation : v->PointVise), std::string())) return false;
  }
  for (const survey::TPointSpeleo* p : PointsSurfImport) {
    const ChampLecture champ = PointImpossible(p->X, p->Y, p->Z);
    if (champ == ChampLecture::Aucun) continue;
    const double valeur = champ == ChampLecture::CoordX ? p->X : champ == ChampLecture::CoordY ? p->Y : p->Z;
    return RefuseLecture(*this, MessageLectureImpossible(NomFichierImport, PositionPoint(p->DesignPTopo), champ,
                                                         TexteLongueur(valeur)));
  }
  return true;
}

bool TImportFichierTop::TransfereTopo() {
  if (!TransfereLevers() || !TransferePointsSpel() || !VerifieLectures()) return false;
  ConstruitCroquis();
  // The elevation directions are doubled (1 becomes 2, -1 becomes -2).
  for (survey::TVisee* v : ACavite->Visees) v->SensDessinCoupeOr = static_cast<int8_t>(v->SensDessinCoupeOr * 2);
  return true;
}

}  // namespace formats
