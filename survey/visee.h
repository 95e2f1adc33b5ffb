#pragma once
// Shots.  A main shot (TVisee) joins two stations of a cave and builds the
// network; a splay shot (TViseeHabi) hangs on a station of a main shot and only
// describes the passage around it.  Both hold the measured values of
// TValeurVisee, the survey trip they were measured on, the corrections of
// adjustments and loops, and what the reduction computes.
//
// Record of the measured values (57 bytes): the trip's position in the cave's
// trip list (-1 for the default trip), Az, pente, Long, LH, Deniv (8 bytes
// each), Typesaisie, SaisieTopoFil (1 byte each), TopofilDeb, TopofilFin (4
// bytes each), InvAz, InvP, InvVisee (1 byte each).  Files older than level 500
// hold 2 more bytes after SaisieTopoFil and 13 more at the end.
//
// Main shot: the network numbers of its station and target (4 bytes each),
// Exclue (1 byte), the measured values, SensDessinCoupeOr and TypeRattachement
// (4 bytes each), the splay list.
//
// Splay: RefPtStat (1 byte; up to level 220 the station's network number, 4
// bytes), the measured values, SensDessinCoupeOr (4 bytes), the comment lines,
// SlhFix (8 bytes; absent up to level 219).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/catalogue.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "survey/avertissements_calcul.h"
#include "survey/ligne_liste.h"
#include "survey/liste_triable.h"

namespace survey {

class TCavite;
class TGalerie;
class TLever;
class TPointSpeleo;
class TVisee;

// Which pair of values was measured (Typesaisie).
inline constexpr uint8_t SaisiePenteLongueur = 0;
inline constexpr uint8_t SaisiePenteLongueurHoriz = 1;
inline constexpr uint8_t SaisieDenivLongueur = 2;
inline constexpr uint8_t SaisieDenivLongueurHoriz = 3;
inline constexpr uint8_t SaisieProfondeurLongueur = 4;

// The 23 display texts of a shot, held only once they are made (most shots of
// a large network are never shown).
class TTextesVisee {
 public:
  static constexpr size_t Nombre = 23;
  std::string& operator[](size_t i) {
    if (!textes_) textes_ = std::make_unique<std::array<std::string, Nombre>>();
    return (*textes_)[i];
  }
  const std::string& operator[](size_t i) const {
    static const std::string vide;
    return textes_ ? (*textes_)[i] : vide;
  }
  void fill(const std::string& t) {
    if (textes_ || !t.empty()) for (size_t i = 0; i < Nombre; ++i) (*this)[i] = t;
  }
  static constexpr size_t size() { return Nombre; }

 private:
  std::unique_ptr<std::array<std::string, Nombre>> textes_;
};

// A correction per metre of an adjustment or a loop branch, owned by the
// adjustment or the loop that made it.
class TValeurCompens {
 public:
  uint8_t typeCompens = 0;
  long double CorrectAngle = 0;
  long double CoeffLong = 0;
  long double CoeffHaut = 0;
  long double CoeffX = 0;
  long double CoeffY = 0;
  int32_t IndexCompens = 0;
};

class TValeurVisee : public foundation::TObjetDeListe {
 public:
  TValeurVisee() = default;
  TValeurVisee(const TValeurVisee&) = delete;
  TValeurVisee& operator=(const TValeurVisee&) = delete;

  // --- Measured (stored) ---------------------------------------------------------
  int32_t indLever = -1;  // position of the trip as read; negative: the default trip
  double Az = 0;          // in the trip's azimuth unit
  double pente = 0;       // in the trip's slope unit and zero convention
  double Long = 0;
  double LH = 0;
  double Deniv = 0;
  uint8_t Typesaisie = SaisiePenteLongueur;
  bool SaisieTopoFil = false;
  int32_t TopofilDeb = 0;
  int32_t TopofilFin = 0;
  bool InvAz = false;
  bool InvP = false;
  bool InvVisee = false;  // measured (or walked) from the target towards the station

  // --- Links and state ------------------------------------------------------------------
  const TLever* LeLever = nullptr;                 // not owned
  TValeurCompens* CoeffsCompens = nullptr;   // owned by the adjustment
  TValeurCompens* ValeurBouclage = nullptr;  // owned by the loop
  bool RefPtStat = false;                    // splay: hung on the main shot's station, else on its target
  int32_t TypeRattachement = 0;              // 0 normal shot, 1 attachment shot
  bool EstHabi = false;
  uint8_t Exclue = 0;                        // not 0: left out of lengths
  foundation::TMesStringList CommentVisee;
  int32_t SensDessinCoupeOr = 1;
  bool EstDansCoupe = true;
  int8_t SensCoupe = 0;
  int8_t SauveSensCoupe = 0;
  bool SensCoupeInverse = false;
  bool AEffacer = false;
  bool Modifiee = false;
  bool SelecteeAlti = false;
  bool BrancheSelectee = false;
  int32_t IndexCav = -1;   // computation order
  int32_t BrancheVis = 0;
  int32_t CodeTri = -1;    // walk class
  double AngleTri = 0;     // turn angle from the previous shot
  int32_t CodeRattach = 0;
  int32_t CodeIdentVisee = 0;
  TLigneListe* ItemVisu = nullptr;  // the table row showing the shot (not owned)
  bool affectee = false;            // the row's texts are current

  // --- Computed ----------------------------------------------------------------------
  double DhCalc = 0, LhCalc = 0, LCalc = 0, AzCalc = 0, PCalc = 0;
  double AngleHoriz = 0, DeltaL = 0, DeltaH = 0, AjustementZ = 0;
  double IncertX = 0, IncertY = 0, IncertZ = 0;
  // The reduction refused the readings (values no survey can give): the
  // reduced values are zero and the stations the shot reaches stay undefined.
  bool MesuresImpossibles = false;

  // Display texts filled by CreeValeursTxt: 0 station, 1 target, 2 azimuth,
  // 3 slope, 4 height difference, 5 length, 6 horizontal length, 7-8 thread
  // counter, 9-11 X Y Z, 12 distance along the survey, 13-16 widths and
  // heights, 17 comment, 18-21 computed slope, height difference, length and
  // horizontal length, 22 "??" for continuation notes.
  TTextesVisee ValeursTxt;

  // --- Virtual operations -----------------------------------------------------------
  // Reduces the shot.
  virtual void CalculeVisee() {}
  // Plan bearing of the shot.
  virtual double GTVisee() const = 0;
  virtual TGalerie* GalDeLaVis() const = 0;
  virtual std::string DesignVisee() const { return {}; }
  // Reduces the shot again and fills ValeursTxt (valeurs_txt_visee.cpp); a shot
  // of no kind empties them.
  virtual void CreeValeursTxt() { ValeursTxt.fill({}); }
  // The trip position the record stores.
  virtual int32_t PositionLever() const;

  // --- Units --------------------------------------------------------------------------
  double AzEnRad() const;
  double PEnRad() const;
  double DecliEnRad() const;
  bool SansDecli() const;
  std::string UniteAzStr() const;
  std::string UnitePStr() const;
  // ReelEnStr (value, width, decimals) trimmed; empty for exactly 0.
  static std::string ValFormatee(int largeur, int decimales, double valeur);
  // ReelEnStr (value, 6, 1) and the slope unit suffix; empty for exactly 0.
  std::string PenteFormatee(double valeur) const;

  bool EstViseeRattach() const { return TypeRattachement == 1; }
  bool EstExclue() const { return Exclue != 0; }
  void Marquee() { Marque = true; }
  // Copies the measured values and the comment lines of another shot (not
  // InvVisee).
  void AffecteValeurs(const TValeurVisee& autre);

  // --- Reduction (reduction.cpp) ----------------------------------------------------
  // A reading flag as it applies to the walked direction: f XOR InvVisee.
  bool InversionEffective(bool f) const { return f != InvVisee; }
  // IncertX, IncertY, IncertZ from the trip's precision class and instruments.
  void CalculeIncertitudes();

  // --- Rows -----------------------------------------------------------------------------
  // Links the shot and the row both ways; the row's texts are no longer current.
  void AffecteVisu(TLigneListe& ligne);
  // Fills the table row: the computed slope, height difference, length and
  // horizontal length in place of the measured ones.
  void AffecteChaine(TLigneListe& ligne);
  // Fills the columns of a printed row by the display settings.
  void AffecteChaineImpression(std::vector<std::string>& colonnes);
  // One tab-separated line of the text export.
  std::string AffecteLigneFichier();

 protected:
  bool EcritValeurs(foundation::TFlux& f);
  bool LitValeurs(foundation::TFlux& f);
};

class TViseeHabi : public TValeurVisee {
 public:
  TViseeHabi();
  // Leaves the station's splay list.
  ~TViseeHabi() override;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  double GTVisee() const override;
  TGalerie* GalDeLaVis() const override;
  std::string DesignVisee() const override;
  int32_t PositionLever() const override;
  // Reduces the splay with its main shot and fills its texts: its station,
  // "    -- -->  ", the measured and computed values, its end and comment.
  void CreeValeursTxt() override;

  // Its station: the main shot's station when RefPtStat, else its target.
  TPointSpeleo* PtStation() const;
  // Removes the splay from the splay lists of both ends of its main shot.
  void DetacheDesPoints();

  // --- Reduction (reduction.cpp) ----------------------------------------------------
  // Reduces the splay with its main shot's trip and the current convergence,
  // and places its end from its station; its warnings go to avertissements.
  void CalculeViseeHabi(TAvertissementsCalcul& avertissements);
  // The same, its warnings written into the computation's report.
  void CalculeViseeHabi();
  // The end: X, Y, Z and SlH.
  foundation::TPointTopo vhPtTopo() const;
  // SlH in the developed (Sens ±1), oriented and projected elevations.
  void CalculeDessinDevViseeHabi(int Sens);
  void CalculeDessinOrViseeHabi(double DirectionCav);
  void CalculeDessinProjViseeHabi(double DirectionCav);

  TVisee* ViseeDeRef = nullptr;  // the main shot
  int32_t IndPtStat = -1;        // station number carried by files up to level 220
  double X = 0, Y = 0, Z = 0, SlH = 0;
  double SlhFix = foundation::ValeurIndefinie;  // fixed distance along the survey, or unset
};

class TVisee : public TValeurVisee {
 public:
  TVisee() = default;
  // Leaves its stations' shot lists and frees its splays.
  ~TVisee() override;

  bool EcritObjet(foundation::TFlux& f) override;
  // Station numbers are resolved through the network's station index (none
  // when out of range).
  bool LitObjet(foundation::TFlux& f) override;
  // Orients the shot from InvVisee and reduces its measured values to the
  // computed azimuth, slope, lengths and height difference, and the turn angle
  // from the previous shot; its warnings go to avertissements.
  void CalculeVisee(TAvertissementsCalcul& avertissements);
  // The same, its warnings written into the computation's report (a shot
  // reduced outside a computation: the walk of a cave, the table's texts).
  void CalculeVisee() override;
  double GTVisee() const override;
  TGalerie* GalDeLaVis() const override;
  // Reduces the shot again and fills its texts from the measured values and
  // its computed end (coordinates, dimensions, comment, continuation mark).
  void CreeValeursTxt() override;

  // A station's name with the marks of the shot's computed end: "#" for a
  // loop partner, then "*" when computed more than once ("*#12").
  std::string DesignPointMarquee(const TPointSpeleo* p) const;
  // The target column: a prefix telling how the shot joins the survey (">< ",
  // ">> ", "->  ", "== ", "^   " or "   "), then the marked target name.
  std::string DesignViseeTableau() const;

  TPointSpeleo* PointStation = nullptr;
  TPointSpeleo* PointVise = nullptr;
  TPointSpeleo* PtOrigCalc = nullptr;  // computed origin and end: the two stations,
  TPointSpeleo* PtCalc = nullptr;      // exchanged when InvVisee
  TPointSpeleo* PointRefCompens = nullptr;
  foundation::TListeFichier<TViseeHabi> ViseesHabi;
  TVisee* ViseeEquiv = nullptr;
  TCavite* CavDeLaVis = nullptr;
  int32_t IndexCavDeLaVis = -1;
  int32_t NumCompens = -1;
  int32_t NumBoucle = -1;
  bool SensOrigine = false;
  bool Accrochable = false;
  int32_t NbreViseesSuivantes = 0;

  // The arriving shot of the computed origin.
  TVisee* ViseePreced() const;
  // The shot is the arriving shot of its end.
  bool MemeGal() const;
  // The shot is the first shot of its gallery.
  bool EstDebutGal() const;
  // One end's name is the other's decreased by one.
  bool Incrementee() const;
  TViseeHabi* LaViseeHabi(int i) const { return ViseesHabi.UnObjet(i); }
  // One of its splays hangs on P.
  bool PointAHabi(const TPointSpeleo* p) const;
  bool ViseeNulle() const { return LCalc == 0; }
  // Appends a splay and hangs it on this shot.
  TViseeHabi* AjouteViseeHabi(std::unique_ptr<TViseeHabi> h);

  // Replaces the end (station or target) equal to ancien by nouveau and keeps
  // the two stations' shot lists in step.
  void RemplaceExtremite(TPointSpeleo* ancien, TPointSpeleo* nouveau);
  // Forgets every link to a station that is being freed.
  void OubliePoint(const TPointSpeleo* p);

  // --- Geometry (reduction.cpp) -----------------------------------------------------
  // Distance from a point to the segment between the two stations.
  double DistVisee(const foundation::TPointTopo& pt) const;
  // Slope in the developed elevation; 0 without both ends or a change of SlH.
  double PenteCoupe() const;
  // Wall segments on the right and left of the shot in plan, from the origin
  // at its width to the end at its width.
  foundation::TSegment BordDroitGal() const;
  foundation::TSegment BordGaucheGal() const;
  // Ceiling and floor segments in the elevation plane (SlH, Z).
  foundation::TSegment BordHautGal() const;
  foundation::TSegment BordBasGal() const;
  // Removes the shot from the shot lists (and arriving-shot links) of its two
  // ends and its splays from their splay lists.
  void DetacheDesPoints();
};

// A comment as the shot texts show it: each line followed by CR LF.
std::string TexteCommentaire(const foundation::TMesStringList& lignes);

// The name the previous station in a series would have: "12" → "11", "A10" →
// "A9", "A007" → "A6", "B" → "A"; an empty (or blank) name is returned as is.
std::string DesignPrecedente(const std::string& nom);

// The first shot computed from P that is P's only shot or the arriving shot of
// its end, that end not being a side station; none otherwise (reduction.cpp).
TVisee* ViseeSuivanteDuPoint(const TPointSpeleo* P);
// Passage widths and heights of P from its splay shots (reduction.cpp).
void CalculeGDHBPoint(TPointSpeleo* P);

// A cave's main shots.  The selection operations (selection_visees.cpp) work
// on the shots' marks; "later" means further in list order.
class TListeDeVisees : public TListeTriable<TVisee> {
 public:
  TVisee* nVisee(int i) const { return UnObjet(i); }
  // ViseesHabExistent := some shot has splays.
  void TesteHabiExiste();
  // Unmarks all; marks V and every later shot whose previous shot is marked.
  void MarqueVisees(TVisee* V);
  // ListeDesPoints := the distinct computed origins and ends, in shot order.
  void GenereListePoints();
  // GenereListePoints, then the main direction, extent and centre of the points.
  void CalculeDirectionVisees();
  // dVis := the smallest distance from Pt to a shot (-1 for no shot); the
  // nearest shot (the first on ties) when that distance is below vRayon.
  TVisee* ChercheViseeProche(const foundation::TPointTopo& Pt, double& dVis, double vRayon) const;
  void SelectViseesBranche();
  void SelectViseesSuivantes();
  void DeselectViseesSuivantes(TVisee* V);
  // Extends the selection to V along the chain of previous shots.
  void SelectVisees(TVisee* V);
  void SelectToutesVisees();
  void DeSelectToutesVisees();
  double DirVisees = 0;
  double DistVisees = 0;
  foundation::TPointTopo PtCentreVisees;
  // Reads the shots; an end that is neither a surface point nor a station of
  // the owning cave (only a damaged file gives one) reads as no station.
  bool LitListe(foundation::TFlux& f) override;

  TCavite* CaviteProprio = nullptr;  // the cave that owns the list

  bool AccrocheToutesVisees = true;
  bool ViseesHabExistent = false;
  TVisee* DerViseeSelectee = nullptr;
  std::vector<TPointSpeleo*> ListeDesPoints;  // not owned
};

}  // namespace survey
