// The PocketTopo text export's sketches, and the sketch-building steps the
// binary reader shares: stations placed in sketch coordinates, cross
// sections with their envelopes, polylines tied to the cave's shots, and
// the shots' directions in the oriented elevation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <queue>
#include <unordered_set>
#include <utility>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/objet_trait.h"
#include "drawing/point_dessin.h"
#include "drawing/visees_dessin.h"
#include "formats/import/pockettopo/lecteur_pockettopo.h"
#include "foundation/chaines.h"
#include "foundation/dates.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

using foundation::TPointTopo;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double DegVersRad = Pi / 180;
// A computed station snaps to a drawn shot line's start closer than this.
constexpr double RayonAccroche = 0.1;

bool CommencePar(const std::string& s, std::string_view debut) { return s.compare(0, debut.size(), debut) == 0; }

// The keyword of a line: its first 8 characters, trimmed.
std::string CleLigne(const std::string& ligne) { return foundation::OteBlancs(std::string_view(ligne).substr(0, 8)); }

std::vector<std::string> ChampsTab(const std::string& ligne) {
  std::vector<std::string> champs;
  size_t debut = 0;
  for (;;) {
    const size_t fin = ligne.find('\t', debut);
    champs.push_back(ligne.substr(debut, fin == std::string::npos ? std::string::npos : fin - debut));
    if (fin == std::string::npos) return champs;
    debut = fin + 1;
  }
}

bool LitNombre(const std::string& champ, double& v) {
  return foundation::LitReel(foundation::NettoieNombre(foundation::OteBlancs(champ)), v) && std::isfinite(v);
}

// The first numbers of a line: false when one of them is missing or not a number.
bool LitNombres(const std::vector<std::string>& champs, double* v, size_t n) {
  if (champs.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (!LitNombre(champs[i], v[i])) return false;
  return true;
}

// The drawn stations of a sketch ("STATIONS" lines: x, y, name), with
// their marks cleared first: f(stations of the name, x, y) for each line
// naming a station of the cave.  False at a line that does not read.
template <class F>
bool PourStationsDessinees(const std::vector<std::string>& lignes,
                           std::unordered_map<std::string, std::vector<TPointSpeleo*>>& stations, F f) {
  for (auto& [nom, liste] : stations)
    for (TPointSpeleo* p : liste) p->Marque = false;
  for (const std::string& ligne : lignes) {
    if (CleLigne(ligne) == "STATIONS") continue;
    const std::vector<std::string> champs = ChampsTab(ligne);
    double v[2];
    if (!LitNombres(champs, v, 2) || champs.size() < 3) return false;
    const auto it = stations.find(foundation::OteBlancs(champs[2]));
    if (it != stations.end()) f(it->second, v[0], v[1]);
  }
  return true;
}

void PositionStation(const TPointSpeleo& p, bool alti, double& a, double& b) {
  a = alti ? p.Slh : p.X;
  b = alti ? p.Z : p.Y;
}

void PlaceStation(TPointSpeleo& p, bool alti, double a, double b) {
  if (alti) {
    p.Slh = a;
    p.Z = b;
  } else {
    p.X = a;
    p.Y = b;
  }
}

// Distance from a point to a shot in the drawing plane (its ends' plan
// positions, or developed distances and heights).
double DistanceViseePlan(const TVisee& v, const TPointTopo& q, bool alti) {
  if (!v.PointStation || !v.PointVise) return foundation::ValeurIndefiniePositive;
  double ax, ay, bx, by;
  PositionStation(*v.PointStation, alti, ax, ay);
  PositionStation(*v.PointVise, alti, bx, by);
  const double dx = bx - ax, dy = by - ay;
  const double l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((q.X - ax) * dx + (q.Y - ay) * dy) / l2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(q.X - (ax + t * dx), q.Y - (ay + t * dy));
}

// The starts of the drawn shot lines through a grid of cells of the snap
// radius: the first start (in file order) within the radius on both axes.
class TGrilleDeparts {
 public:
  explicit TGrilleDeparts(const std::vector<TObjBiPoint>& lignes) : lignes_(lignes) {
    for (size_t i = 0; i < lignes.size(); ++i)
      cellules_[Cle(Cellule(lignes[i].PtDeb.X), Cellule(lignes[i].PtDeb.Y))].push_back(i);
  }
  bool Accroche(double& a, double& b) const {
    const int64_t ca = Cellule(a), cb = Cellule(b);
    size_t meilleur = lignes_.size();
    for (int64_t i = ca - 1; i <= ca + 1; ++i)
      for (int64_t j = cb - 1; j <= cb + 1; ++j) {
        const auto it = cellules_.find(Cle(i, j));
        if (it == cellules_.end()) continue;
        for (size_t k : it->second) {
          const TPointTopo& d = lignes_[k].PtDeb;
          if (k < meilleur && std::fabs(d.X - a) < RayonAccroche && std::fabs(d.Y - b) < RayonAccroche) meilleur = k;
        }
      }
    if (meilleur == lignes_.size()) return false;
    a = lignes_[meilleur].PtDeb.X;
    b = lignes_[meilleur].PtDeb.Y;
    return true;
  }

 private:
  static int64_t Cellule(double v) {
    const double c = std::floor(v / RayonAccroche);
    return static_cast<int64_t>(std::clamp(c, -1e15, 1e15));
  }
  static std::pair<int64_t, int64_t> Cle(int64_t i, int64_t j) { return {i, j}; }
  const std::vector<TObjBiPoint>& lignes_;
  std::map<std::pair<int64_t, int64_t>, std::vector<size_t>> cellules_;
};

// Places stations from their neighbours exactly as passes over the shots in
// their order would (a pass scans every shot; a shot with one end marked
// places the other; passes repeat while one placed a station), in time
// linear in the shots: a shot is looked at again only when one of its ends
// was just marked, at the moment the passes would reach it.  place(i) gives
// the unmarked end of shot i its position; the end is then marked.
void PlaceParPasses(const std::vector<std::pair<TPointSpeleo*, TPointSpeleo*>>& bouts,
                    const std::function<void(size_t)>& place) {
  std::unordered_map<const TPointSpeleo*, std::vector<size_t>> voisins;
  using Instant = std::pair<size_t, size_t>;  // pass, shot
  std::priority_queue<Instant, std::vector<Instant>, std::greater<>> file;
  for (size_t i = 0; i < bouts.size(); ++i) {
    voisins[bouts[i].first].push_back(i);
    voisins[bouts[i].second].push_back(i);
    if (bouts[i].first->Marque != bouts[i].second->Marque) file.push({0, i});
  }
  while (!file.empty()) {
    const auto [passe, i] = file.top();
    file.pop();
    TPointSpeleo* a = bouts[i].first;
    TPointSpeleo* b = bouts[i].second;
    if (a->Marque == b->Marque) continue;
    TPointSpeleo* nouveau = a->Marque ? b : a;
    place(i);
    nouveau->Marque = true;
    for (size_t j : voisins[nouveau])
      if (j != i && bouts[j].first->Marque != bouts[j].second->Marque) file.push({j > i ? passe : passe + 1, j});
  }
}

}  // namespace

int CouleurCroquisTop(uint8_t octet) {
  if (octet >= 1 && octet <= 5) return octet;
  if (octet == 6) return 7;
  if (octet == 7) return 6;
  return 1;
}

int CouleurMotPkTp(const std::string& mot) {
  static const char* const mots[] = {"CONNECT", "BLACK", "GRAY", "BROWN", "BLUE", "RED", "ORANGE", "GREEN"};
  for (int i = 0; i < 8; ++i)
    if (mot == mots[i]) return i;
  return 1;
}

// --- TCoupeImport ---------------------------------------------------------------------------

void TCoupeImport::AjusteEnveloppe(const TPointTopo& p) {
  XEnvMin = std::min(XEnvMin, p.X);
  XEnvmax = std::max(XEnvmax, p.X);
  YEnvmin = std::min(YEnvmin, p.Y);
  YEnvMax = std::max(YEnvMax, p.Y);
  SlhEnvMin = std::min(SlhEnvMin, p.SlH);
  SlhEnvmax = std::max(SlhEnvmax, p.SlH);
  ZEnvmin = std::min(ZEnvmin, p.Z);
  ZEnvMax = std::max(ZEnvMax, p.Z);
}

bool TCoupeImport::Contient(double x, double y, bool alti) const {
  if (alti) return x > SlhEnvMin && x < SlhEnvmax && y > ZEnvmin && y < ZEnvMax;
  return x > XEnvMin && x < XEnvmax && y > YEnvmin && y < YEnvMax;
}

// --- tImportPocketTopo ------------------------------------------------------------------------

tImportPocketTopo::tImportPocketTopo(survey::TReseau* reseau) : TImportSaufTPRB(reseau) { EstNoTop = true; }

tImportPocketTopo::~tImportPocketTopo() = default;

drawing::TViseesDeRef tImportPocketTopo::ViseesCavite() const { return drawing::TViseesDeRef(&ACavite->Visees); }

bool tImportPocketTopo::LitLigneTripPkTp(const std::string& ligne) {
  const std::string t = foundation::OteBlancs(ligne);
  if (CommencePar(t, "DATE")) {
    TLeverImport* l = AjouteLeverImport();
    l->InstrAz = l->InstrL = l->InstrP = "DistoX";
    std::string reste = foundation::OteBlancs(std::string_view(t).substr(4));
    int32_t a = 0, m = 0, j = 0;
    const std::string sa = foundation::ExtraitChamp(reste, '-');
    const std::string sm = foundation::ExtraitChamp(reste, '-');
    foundation::TDateTime d = 0;
    if (foundation::LitEntier(sa, a) && foundation::LitEntier(sm, m) && foundation::LitEntier(reste, j) &&
        foundation::EncodeDate(a, m, j, d))
      l->DateLev = d;
  } else if (CommencePar(t, "DECLINATION")) {
    if (LeversImportes.empty()) return false;
    double v = 0;
    const size_t blanc = t.find(' ');
    if (blanc != std::string::npos && LitNombre(t.substr(blanc + 1), v)) LeversImportes.back()->Decli = v;
  }
  return true;
}

std::unordered_map<std::string, std::vector<TPointSpeleo*>> tImportPocketTopo::StationsParNom() const {
  std::unordered_map<std::string, std::vector<TPointSpeleo*>> noms;
  std::unordered_set<const TPointSpeleo*> vus;
  auto ajoute = [&](TPointSpeleo* p) {
    if (p && vus.insert(p).second) noms[p->DesignPTopo].push_back(p);
  };
  ajoute(ACavite->LEntree());
  if (Reseau) ajoute(Reseau->EntreeImport);
  for (TVisee* v : ACavite->Visees) {
    ajoute(v->PointStation);
    ajoute(v->PointVise);
  }
  return noms;
}

bool tImportPocketTopo::LitViseesPkTp() {
  // The cave's first shot of each (station, target) pair.
  std::unordered_map<std::string, TVisee*> premieres;
  for (TVisee* v : ACavite->Visees)
    if (v->PointStation && v->PointVise)
      premieres.emplace(v->PointStation->DesignPTopo + '\t' + v->PointVise->DesignPTopo, v);
  const auto stations = StationsParNom();
  for (const std::string& ligne : ViseesStr) {
    if (CleLigne(ligne) == "DATA") continue;
    const std::vector<std::string> champs = ChampsTab(ligne);
    if (champs.size() < 5) continue;
    // A shot needs its trip: one before any "DATE" line cannot be read.
    if (LeversImportes.empty()) return FichierIllisible();
    TViseeImport* vi = AjouteViseeImport();
    vi->DesignStat = champs[0];
    vi->DesignVis = champs[1];
    vi->ViHabi = vi->DesignVis.empty();
    vi->Az = foundation::TexteEnReel(foundation::OteBlancs(champs[2]));
    vi->P = foundation::TexteEnReel(foundation::OteBlancs(champs[3]));
    vi->L = foundation::TexteEnReel(foundation::OteBlancs(champs[4]));
    vi->LeverTmp = LeversImportes.back().get();
    vi->CoupeInversee = ligne.find('<') != std::string::npos;
    if (vi->ViHabi) {
      const auto it = stations.find(vi->DesignStat);
      if (it != stations.end()) vi->PtOrig = it->second.front();
    } else {
      const auto it = premieres.find(vi->DesignStat + '\t' + vi->DesignVis);
      if (it != premieres.end()) {
        vi->ViseeCor = it->second;
        vi->PtOrig = it->second->PointStation;
        vi->PtExtrem = it->second->PointVise;
      }
    }
  }
  return !ViseesImportes.empty();
}

void tImportPocketTopo::CreeDessinPkTp() {
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(ACavite.get());
  auto d = std::make_unique<drawing::TDessinPkTp>();
  d->DefViseesDeRef(ViseesCavite());
  d->pktpDessinAltiOr.TypeDeDessin = foundation::TTypeDeDessin::tddAltiOr;
  if (ACavite->Levers.Count() > 0) {
    d->indLever = 0;
    d->LeverDeRef = ACavite->Levers.First();
  }
  if (annexe) {
    if (annexe->LeDessinAltiOr) annexe->LeDessinAltiOr->AngleCoupeProj = 3 * Pi / 2;
    d->DessinAltiRef = annexe->LeDessinAltiOr;
    UnDessinPkTp = annexe->DessinsPkTp.Add(std::move(d));
  } else {
    UnDessinPkTp = nullptr;
  }
}

bool tImportPocketTopo::PlaceStations(bool alti) {
  auto stations = StationsParNom();
  // The drawn shot lines.
  std::vector<TObjBiPoint> lignes;
  for (const std::string& ligne : alti ? ShotsAltiStr : ShotsPlaniStr) {
    if (CleLigne(ligne) == "SHOTS") continue;
    double v[4];
    if (!LitNombres(ChampsTab(ligne), v, 4)) return FichierIllisible();
    TObjBiPoint b;
    b.PtDeb = drawing::PointPlan(v[0], v[1]);
    b.PtExtr = drawing::PointPlan(v[2], v[3]);
    lignes.push_back(b);
  }
  const auto place = [&](std::vector<TPointSpeleo*>& memeNom, double x, double y) {
    for (TPointSpeleo* p : memeNom)
      if (!p->Marque) {
        PlaceStation(*p, alti, x, y);
        p->Marque = true;
      }
  };
  if (!PourStationsDessinees(alti ? StationsAltiStr : StationsPlaniStr, stations, place)) return FichierIllisible();
  // The others from their neighbours, in passes over the matched shots; a
  // station computed but not snapped still counts as placed, so the passes
  // end.
  const TGrilleDeparts grille(lignes);
  std::vector<TViseeImport*> visees;
  std::vector<std::pair<TPointSpeleo*, TPointSpeleo*>> bouts;
  for (auto& vi : ViseesImportes)
    if (vi->PtOrig && vi->PtExtrem) {
      visees.push_back(vi.get());
      bouts.push_back({vi->PtOrig, vi->PtExtrem});
    }
  PlaceParPasses(bouts, [&](size_t i) {
    const TViseeImport* vi = visees[i];
    const TPointSpeleo* o = vi->PtOrig;
    const double h = vi->L * std::cos(vi->P * DegVersRad);
    double da, db;
    if (alti) {
      da = vi->CoupeInversee ? -h : h;
      db = vi->L * std::sin(vi->P * DegVersRad);
    } else {
      da = h * std::sin(vi->Az * DegVersRad);
      db = h * std::cos(vi->Az * DegVersRad);
    }
    TPointSpeleo* nouveau = o->Marque ? vi->PtExtrem : vi->PtOrig;
    double a, b;
    PositionStation(o->Marque ? *o : *vi->PtExtrem, alti, a, b);
    const double signe = o->Marque ? 1 : -1;
    a += signe * da;
    b += signe * db;
    grille.Accroche(a, b);
    PlaceStation(*nouveau, alti, a, b);
  });
  if (alti) {
    ShotsAltiCoord = std::move(lignes);
    for (auto& vi : ViseesImportes) {
      if (!vi->PtOrig) continue;
      vi->SlhOrig = vi->PtOrig->Slh;
      vi->ZOrig = vi->PtOrig->Z;
      vi->LhVisee = vi->L * std::cos(vi->P * DegVersRad);
      if (vi->ViHabi) {
        vi->SlhExtrem = vi->SlhOrig + vi->LhVisee;
        vi->ZExtrem = vi->ZOrig + vi->L * std::sin(vi->P * DegVersRad);
      } else if (vi->PtExtrem) {
        vi->SlhExtrem = vi->PtExtrem->Slh;
        vi->ZExtrem = vi->PtExtrem->Z;
      }
    }
  }
  return true;
}

TCoupeImport* tImportPocketTopo::LaCoupeImport(int i) const {
  return i < 0 || static_cast<size_t>(i) >= CoupesImport.size() ? nullptr : CoupesImport[static_cast<size_t>(i)].get();
}

void tImportPocketTopo::CreeCoupe(TPointSpeleo* station, double x, double y, bool alti) {
  if (!UnDessinPkTp || !station) return;
  const drawing::TViseesDeRef visees = ViseesCavite();
  auto coupe = std::make_unique<drawing::TCoupePkTp>();
  coupe->LesViseesDessin = visees;
  coupe->PointPosition->Xhab = x;
  coupe->PointPosition->Yhab = y;
  coupe->PointPosition->ChercheViseeRef(visees);
  PositionStation(*station, alti, coupe->PointDeCoupe->Xhab, coupe->PointDeCoupe->Yhab);
  coupe->PointDeCoupe->ChercheViseeRef(visees);
  coupe->LegendeCoupe = station->DesignPTopo;
  coupe->StationRef = station;
  coupe->UnDessinPkTp = UnDessinPkTp;
  coupe->CoupePkTpPlani = !alti;
  auto ci = std::make_unique<TCoupeImport>();
  ci->PtCentre = drawing::PointPlan(x, y);
  ci->XEnvMin = ci->XEnvmax = ci->SlhEnvMin = ci->SlhEnvmax = x;
  ci->YEnvmin = ci->YEnvMax = ci->ZEnvmin = ci->ZEnvMax = y;
  ci->UneCoupe = (alti ? UnDessinPkTp->pktpCoupesAlti : UnDessinPkTp->pktpCoupesPlani).Add(std::move(coupe));
  CoupesImport.push_back(std::move(ci));
}

void tImportPocketTopo::CreeCoupePlani(TPointSpeleo* station, double x, double y) { CreeCoupe(station, x, y, false); }

void tImportPocketTopo::CreeCoupeAlti(TPointSpeleo* station, double slh, double z) { CreeCoupe(station, slh, z, true); }

bool tImportPocketTopo::CreeCoupesStations(bool alti) {
  auto stations = StationsParNom();
  const auto coupe = [&](std::vector<TPointSpeleo*>& memeNom, double x, double y) {
    TPointSpeleo* p = memeNom.front();
    if (!p->Marque)
      p->Marque = true;
    else
      CreeCoupe(p, x, y, alti);
  };
  if (!PourStationsDessinees(alti ? StationsAltiStr : StationsPlaniStr, stations, coupe)) return FichierIllisible();
  return true;
}

void tImportPocketTopo::AjouteHabiCoupes(bool alti) {
  if (CoupesImport.empty()) return;
  std::map<std::pair<double, double>, std::vector<TCoupeImport*>> centres;
  for (auto& ci : CoupesImport) centres[{ci->PtCentre.X, ci->PtCentre.Y}].push_back(ci.get());
  for (const std::string& ligne : alti ? ShotsAltiStr : ShotsPlaniStr) {
    if (CleLigne(ligne) == "SHOTS") continue;
    double v[4];
    if (!LitNombres(ChampsTab(ligne), v, 4)) continue;
    const auto it = centres.find({v[0], v[1]});
    if (it == centres.end()) continue;
    const TPointTopo fin = drawing::PointPlan(v[2], v[3]);
    for (TCoupeImport* ci : it->second) {
      ci->LesPoints.push_back(fin);
      ci->AjusteEnveloppe(fin);
    }
  }
}

void tImportPocketTopo::CreePoly(int couleur) {
  auto l = std::make_unique<drawing::TObjetDonneesBasique>();
  l->CouleurPkTp = couleur;
  l->MotifDessin = const_cast<drawing::TObjetTrait*>(drawing::TraitCroquis(couleur - 100));
  NouvellePolyligne = l.get();
  ListePolylignes.push_back(std::move(l));
}

void tImportPocketTopo::AjoutePointPoly(double x, double y) {
  if (!NouvellePolyligne) return;
  auto p = std::make_unique<drawing::TPointDessin>();
  p->Xhab = x;
  p->Yhab = y;
  p->ChercheViseeRef(ViseesCavite());
  if (p->VisRefDessin) NouvellePolyligne->Points.Add(std::move(p));
}

bool tImportPocketTopo::LitPolylignes(bool alti) {
  int couleur = 0;
  NouvellePolyligne = nullptr;
  for (const std::string& ligne : alti ? PolysAltiStr : PolysPlaniStr) {
    if (CleLigne(ligne) == "POLYLINE") {
      couleur = CouleurMotPkTp(foundation::OteBlancs(std::string_view(ligne).substr(std::min<size_t>(9, ligne.size()), 8)));
      if (couleur != 0)
        CreePoly(couleur);
      else
        NouvellePolyligne = nullptr;
      continue;
    }
    double v[2];
    if (!LitNombres(ChampsTab(ligne), v, 2)) return FichierIllisible();
    if (couleur != 0) AjoutePointPoly(v[0], v[1]);
  }
  return true;
}

void tImportPocketTopo::AjoutePolys(bool alti) {
  if (EstNoTop)
    for (size_t i = ListePolylignes.size(); i-- > 0;) {
      drawing::TObjetDonneesBasique& poly = *ListePolylignes[i];
      TCoupeImport* prise = nullptr;
      for (auto& ci : CoupesImport) {
        for (const drawing::TPointDessin* p : poly.Points)
          if (ci->Contient(p->Xhab, p->Yhab, alti)) {
            prise = ci.get();
            break;
          }
        if (prise) break;
      }
      if (!prise) continue;
      const drawing::TPointDessin& pos = *prise->UneCoupe->PointPosition;
      const TPointTopo P = drawing::PointPlan(pos.Xhab, pos.Yhab);
      for (drawing::TPointDessin* p : poly.Points) {
        const TPointTopo q = drawing::PointPlan(p->Xhab, p->Yhab);
        p->AngleHab = alti ? foundation::AzimutAlti(P, q) : foundation::AzimutXY(P, q);
        p->LHab = alti ? foundation::DistanceAlti(P, q) : foundation::DistanceXY(P, q);
        p->VisRefDessin = nullptr;
        prise->AjusteEnveloppe(q);
      }
      prise->UneCoupe->AjouteDonneesDessin(std::move(ListePolylignes[i]));
      ListePolylignes.erase(ListePolylignes.begin() + static_cast<std::ptrdiff_t>(i));
    }
  if (UnDessinPkTp) {
    drawing::TListeDonneesSVG& dessin = alti ? UnDessinPkTp->pktpDessinAltiOr : UnDessinPkTp->pktpDessinPlani;
    for (auto& poly : ListePolylignes) {
      poly->CalculeSommesCtrl();
      dessin.AjouteDonneesDessin(std::move(poly));
    }
  }
  ListePolylignes.clear();
  NouvellePolyligne = nullptr;
  CoupesImport.clear();
}

void tImportPocketTopo::AjoutePolysPlani() { AjoutePolys(false); }

void tImportPocketTopo::AjoutePolysAlti() { AjoutePolys(true); }

void tImportPocketTopo::CalculeSensViseesAlti() {
  std::vector<bool> prises(ShotsAltiCoord.size(), false);
  size_t premiereLibre = 0;
  drawing::TDonneesCoupeLong* ref = UnDessinPkTp ? dynamic_cast<drawing::TDonneesCoupeLong*>(UnDessinPkTp->DessinAltiRef)
                                                 : nullptr;
  if (!ShotsAltiCoord.empty())
    for (TVisee* v : ACavite->Visees) {
      const TPointSpeleo* S = v->PointStation;
      const TPointSpeleo* T = v->PointVise;
      if (!S || !T) continue;
      const double dz = std::fabs(T->Z - S->Z), ds = std::fabs(T->Slh - S->Slh);
      while (premiereLibre < prises.size() && prises[premiereLibre]) ++premiereLibre;
      for (size_t k = premiereLibre; k < ShotsAltiCoord.size(); ++k) {
        if (prises[k]) continue;
        const TObjBiPoint& l = ShotsAltiCoord[k];
        if (dz - std::fabs(l.PtExtr.Y - l.PtDeb.Y) < 0.1 && ds - std::fabs(l.PtExtr.X - l.PtDeb.X) < 0.1) {
          prises[k] = true;
          v->Accrochable = v->ValeurBouclage == nullptr;
          const int d = v->PtCalc == T ? 2 : -2;
          v->SensDessinCoupeOr = S->Slh <= T->Slh ? d : -d;
          if (ref) ref->AjouteViseeCoupe(v);
          break;
        }
      }
    }
  // The splays: the first remaining line drawn from their station.
  if (!ShotsAltiCoord.empty())
    for (TVisee* v : ACavite->Visees)
      for (survey::TViseeHabi* h : v->ViseesHabi) {
        const TPointSpeleo* S = h->PtStation();
        if (!S) continue;
        const double p = h->pente * DegVersRad;
        const double zFin = S->Z + h->Long * std::sin(p), lh = std::fabs(h->Long * std::cos(p));
        while (premiereLibre < prises.size() && prises[premiereLibre]) ++premiereLibre;
        for (size_t k = premiereLibre; k < ShotsAltiCoord.size(); ++k) {
          if (prises[k]) continue;
          const TObjBiPoint& l = ShotsAltiCoord[k];
          if (std::fabs(l.PtDeb.X - S->Slh) < 0.01 && std::fabs(l.PtDeb.Y - S->Z) < 0.1 &&
              std::fabs(l.PtExtr.Y - zFin) < 0.1 && lh - std::fabs(l.PtExtr.X - l.PtDeb.X) < 0.1) {
            prises[k] = true;
            h->SensDessinCoupeOr = l.PtExtr.X > l.PtDeb.X ? 2 : -2;
            break;
          }
        }
      }
  ACavite->Visees.AccrocheToutesVisees = false;
}

bool tImportPocketTopo::TraiteLignes() {
  enum class Section { Aucune, Fix, Trip, Data, Plan, Elevation };
  enum class Partie { Aucune, Stations, Shots, Polylignes };
  Section section = Section::Aucune;
  Partie partie = Partie::Aucune;
  for (const std::string& ligne : LignesFichier) {
    if (foundation::OteBlancs(ligne).empty()) continue;
    const std::string cle = CleLigne(ligne);
    if (cle == "FIX") {
      section = Section::Fix;
    } else if (cle == "TRIP") {
      section = Section::Trip;
    } else if (cle == "DATA") {
      section = Section::Data;
    } else if (cle == "PLAN") {
      section = Section::Plan;
      partie = Partie::Aucune;
    } else if (cle == "ELEVATIO") {
      section = Section::Elevation;
      partie = Partie::Aucune;
    } else if (section == Section::Plan || section == Section::Elevation) {
      if (cle == "STATIONS") partie = Partie::Stations;
      if (cle == "SHOTS") partie = Partie::Shots;
      if (cle == "POLYLINE") partie = Partie::Polylignes;
    }
    const bool plan = section == Section::Plan;
    switch (section) {
      case Section::Trip:
        if (!LitLigneTripPkTp(ligne)) return FichierIllisible();
        break;
      case Section::Data: ViseesStr.push_back(ligne); break;
      case Section::Plan:
      case Section::Elevation:
        if (partie == Partie::Stations) (plan ? StationsPlaniStr : StationsAltiStr).push_back(ligne);
        if (partie == Partie::Shots) (plan ? ShotsPlaniStr : ShotsAltiStr).push_back(ligne);
        if (partie == Partie::Polylignes) (plan ? PolysPlaniStr : PolysAltiStr).push_back(ligne);
        break;
      default: break;
    }
  }
  LignesFichier.clear();
  if (!LitViseesPkTp()) return false;

  // The stations take their coordinates: the cave is in the network for the
  // computation only, whatever happens.
  {
    survey::TCavite* c = Reseau->Cavites.Add(std::move(ACavite));
    struct Retire {
      tImportPocketTopo& lecteur;
      survey::TCavite* c;
      ~Retire() {
        auto& cavites = lecteur.Reseau->Cavites;
        for (int i = cavites.Count() - 1; i >= 0; --i)
          if (cavites.UnObjet(i) == c) {
            lecteur.ACavite = cavites.Extract(i);
            break;
          }
      }
    } retire{*this, c};
    Reseau->CalculeReseau();
  }
  CreeDessinPkTp();
  TPointSpeleo* entree = ACavite->LEntree();
  const double ex = entree ? entree->X : 0, ey = entree ? entree->Y : 0, ez = entree ? entree->Z : 0,
               es = entree ? entree->Slh : 0;
  {
    foundation::GardeTypeDessin type(foundation::TTypeDeDessin::tddPlani);
    if (!PlaceStations(false) || !CreeCoupesStations(false)) return false;
    AjouteHabiCoupes(false);
    {
      drawing::GardeIndexVisees index;
      if (!LitPolylignes(false)) return false;
    }
    AjoutePolysPlani();
  }
  {
    foundation::GardeTypeDessin type(foundation::TTypeDeDessin::tddAltiOr);
    if (!PlaceStations(true)) return false;
    CalculeSensViseesAlti();
    if (!CreeCoupesStations(true)) return false;
    AjouteHabiCoupes(true);
    {
      drawing::GardeIndexVisees index;
      if (!LitPolylignes(true)) return false;
    }
    AjoutePolysAlti();
  }
  ACavite->Visees.AccrocheToutesVisees = true;
  if (entree) {
    entree->X = ex;
    entree->Y = ey;
    entree->Z = ez;
    entree->Slh = es;
  }
  return true;
}

// --- TImportFichierTop: the sketch --------------------------------------------------------

void TImportFichierTop::CoordonneesProvisoires() {
  for (TVisee* v : ACavite->Visees) {
    if (v->PointStation) v->PointStation->Marque = false;
    if (v->PointVise) v->PointVise->Marque = false;
  }
  if (Reseau->EntreeImport) Reseau->EntreeImport->Marque = false;
  // The sketch's origin is the station of the file's first shot, also when
  // the survey hangs from another origin (second pass).
  TPointSpeleo* depart = nullptr;
  for (const auto& vi : ViseesImportes) {
    const TVisee* v = vi->ViseeCor;
    if (!v || !v->PointStation || !v->PointVise) continue;
    depart = v->PointVise->DesignPTopo == vi->DesignStat && v->PointStation->DesignPTopo != vi->DesignStat
                 ? v->PointVise
                 : v->PointStation;
    break;
  }
  if (!depart && ACavite->Visees.First()) depart = ACavite->Visees.First()->PointStation;
  if (!depart) return;
  depart->X = depart->Y = depart->Z = depart->Slh = 0;
  depart->Marque = true;
  std::vector<TVisee*> visees;
  std::vector<std::pair<TPointSpeleo*, TPointSpeleo*>> bouts;
  for (TVisee* v : ACavite->Visees)
    if (v->PointStation && v->PointVise) {
      // Reduced, so that its computed lengths let it take sketch points.
      v->CalculeVisee();
      visees.push_back(v);
      bouts.push_back({v->PointStation, v->PointVise});
    }
  PlaceParPasses(bouts, [&](size_t i) {
    const TVisee* v = visees[i];
    TPointSpeleo* S = v->PointStation;
    TPointSpeleo* T = v->PointVise;
    // The sketch is drawn in the device's frame: measured azimuth, no
    // declination.
    const double az = v->Az * DegVersRad, p = v->pente * DegVersRad;
    const double h = v->Long * std::cos(p);
    const double dx = h * std::sin(az), dy = h * std::cos(az), dz = v->Long * std::sin(p);
    const double ds = v->SensDessinCoupeOr * h;
    const double signe = S->Marque ? 1 : -1;
    const TPointSpeleo* de = S->Marque ? S : T;
    TPointSpeleo* vers = S->Marque ? T : S;
    vers->X = de->X + signe * dx;
    vers->Y = de->Y + signe * dy;
    vers->Z = de->Z + signe * dz;
    vers->Slh = de->Slh + signe * ds;
  });
}

void TImportFichierTop::LitPolygoneTop(const TPolyligneTop& poly) {
  CreePoly(CouleurCroquisTop(poly.Couleur));
  for (const TPointCroquisTop& p : poly.Points) AjoutePointPoly(p.X, p.Y);
}

void TImportFichierTop::LitCoupeTop(const TCoupeTop& coupe, bool alti,
                                    const std::unordered_map<std::string, TPointSpeleo*>& stations) {
  const auto it = stations.find(coupe.Station);
  if (it == stations.end()) return;
  if (alti)
    CreeCoupeAlti(it->second, coupe.Position.X, coupe.Position.Y);
  else
    CreeCoupePlani(it->second, coupe.Position.X, coupe.Position.Y);
}

TCoupeImport* TImportFichierTop::AffecteCoupePolyligne(drawing::TObjetDonneesBasique& poly, bool alti) {
  TCoupeImport* prise = nullptr;
  const int n = poly.Points.Count();
  if (n == 0) return nullptr;
  // Each point's distance to its reference shot (or to the section that took
  // it), and the polyline's box: a section farther from the box than the
  // largest of those distances cannot take a single point.
  std::vector<double> dRef(static_cast<size_t>(n));
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0, dMax = 0;
  for (int i = 0; i < n; ++i) {
    const drawing::TPointDessin* p = poly.Points.UnObjet(i);
    const TPointTopo q = drawing::PointPlan(p->Xhab, p->Yhab);
    dRef[static_cast<size_t>(i)] = p->VisRefDessin ? DistanceViseePlan(*p->VisRefDessin, q, alti) : p->LHab;
    dMax = std::max(dMax, dRef[static_cast<size_t>(i)]);
    xmin = i == 0 ? p->Xhab : std::min(xmin, p->Xhab);
    xmax = i == 0 ? p->Xhab : std::max(xmax, p->Xhab);
    ymin = i == 0 ? p->Yhab : std::min(ymin, p->Yhab);
    ymax = i == 0 ? p->Yhab : std::max(ymax, p->Yhab);
  }
  for (auto& ci : CoupesImport) {
    const drawing::TPointDessin& pos = *ci->UneCoupe->PointPosition;
    const double bx = std::max({xmin - pos.Xhab, 0.0, pos.Xhab - xmax});
    const double by = std::max({ymin - pos.Yhab, 0.0, pos.Yhab - ymax});
    if (!(std::hypot(bx, by) < dMax)) continue;
    const TPointTopo P = drawing::PointPlan(pos.Xhab, pos.Yhab);
    int plusPres = 0;
    for (int i = 0; i < n; ++i) {
      const drawing::TPointDessin* p = poly.Points.UnObjet(i);
      const TPointTopo q = drawing::PointPlan(p->Xhab, p->Yhab);
      const double dPos = alti ? foundation::DistanceAlti(P, q) : foundation::DistanceXY(P, q);
      if (dRef[static_cast<size_t>(i)] > dPos) ++plusPres;
    }
    if (plusPres > 0 && 5 * plusPres >= 4 * n) {
      dMax = 0;
      for (int i = 0; i < n; ++i) {
        drawing::TPointDessin* p = poly.Points.UnObjet(i);
        const TPointTopo q = drawing::PointPlan(p->Xhab, p->Yhab);
        p->VisRefDessin = nullptr;
        p->AngleHab = alti ? foundation::AzimutAlti(P, q) : foundation::AzimutXY(P, q);
        p->LHab = alti ? foundation::DistanceAlti(P, q) : foundation::DistanceXY(P, q);
        dRef[static_cast<size_t>(i)] = p->LHab;
        dMax = std::max(dMax, p->LHab);
      }
      prise = ci.get();
    }
  }
  return prise;
}

void TImportFichierTop::RangePolylignesDansCoupes(bool alti) {
  if (CoupesImport.empty()) return;
  for (size_t i = ListePolylignes.size(); i-- > 0;) {
    TCoupeImport* prise = AffecteCoupePolyligne(*ListePolylignes[i], alti);
    if (!prise) continue;
    prise->UneCoupe->AjouteDonneesDessin(std::move(ListePolylignes[i]));
    ListePolylignes.erase(ListePolylignes.begin() + static_cast<std::ptrdiff_t>(i));
  }
  NouvellePolyligne = ListePolylignes.empty() ? nullptr : ListePolylignes.back().get();
}

void TImportFichierTop::TransfereDessin(const TDessinTop& dessin, bool alti) {
  foundation::GardeTypeDessin type(alti ? foundation::TTypeDeDessin::tddAltiOr : foundation::TTypeDeDessin::tddPlani);
  // The station of a section: that of the first staged shot naming it that
  // was placed on it (in this reader only splays carry their station).
  std::unordered_map<std::string, TPointSpeleo*> stations;
  for (const auto& vi : ViseesImportes) {
    if (vi->PtOrig) stations.emplace(vi->DesignStat, vi->PtOrig);
    if (vi->PtExtrem) stations.emplace(vi->DesignVis, vi->PtExtrem);
  }
  {
    drawing::GardeIndexVisees index;
    for (const TPolyligneTop& p : dessin.Polylignes) LitPolygoneTop(p);
    for (const TCoupeTop& c : dessin.Coupes) LitCoupeTop(c, alti, stations);
  }
  RangePolylignesDansCoupes(alti);
  if (alti)
    AjoutePolysAlti();
  else
    AjoutePolysPlani();
}

void TImportFichierTop::ConstruitCroquis() {
  CreeDessinPkTp();
  if (!UnDessinPkTp) return;
  ShotsAltiCoord.clear();
  CalculeSensViseesAlti();
  // The text reader attaches all shots again before it ties its drawings;
  // so does this one, or no shot would take a point.
  ACavite->Visees.AccrocheToutesVisees = true;
  TPointSpeleo* E = Reseau->EntreeImport;
  double ex = 0, ey = 0, ez = 0, es = 0;
  if (E) {
    E->XD = ex = E->X;
    E->YD = ey = E->Y;
    ez = E->Z;
    es = E->Slh;
  }
  CoordonneesProvisoires();
  TransfereDessin(DessinPlan, false);
  TransfereDessin(DessinCoupe, true);
  if (E) {
    E->X = ex;
    E->Y = ey;
    E->Z = ez;
    E->Slh = es;
  }
}

}  // namespace formats
