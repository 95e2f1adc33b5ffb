#pragma once
// One cave of the network: its galleries with their stations, its main shots
// (each owning its splays), its survey trips and its two digitising
// calibrations.  The stored data say only which stations each shot joins and
// in which gallery each station lies; ReGenereListePoints derives everything
// else (the stations in computation order, the entrances, the orientation and
// order of the shots, the galleries' shots) by walking the survey from the
// entrances.
//
// Record: NomCavite (text), the trips, the galleries, the cave's two optional
// line styles (each one byte, 1 when present, and the style's record), the
// position of the selected entrance among the surface points (4 bytes, -1 for
// none), idCavSvg (4 bytes, from level 503 on).  The main shots are stored by
// the document after every cave's record.
//
// Stations leave the model only through SupprimePoints, which redirects or
// clears every reference to them before freeing them.  Shot ends are changed
// with TVisee::RemplaceExtremite, which keeps the stations' shot lists in step.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "survey/calage_digit.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/liste_points.h"
#include "survey/ports_survey.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace survey {

class TReseau;

// Drawing flags of a cave.
struct TParamDessinCavite {
  bool CaviteAffichee = true;
  bool CaviteSelectee = false;
};

class TCavite : public foundation::TObjetDeListe {
 public:
  // An empty cave; the drawing data come from the drawing subsystem's factory
  // when one is installed.
  TCavite();
  // Frees the drawing data, the shots, the galleries and the trips, in that order.
  ~TCavite() override;
  TCavite(const TCavite&) = delete;
  TCavite& operator=(const TCavite&) = delete;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  std::string NomCavite;
  TListeTriable<TGalerie> Galeries;  // sorted by their first station's computed rank
  TListeDeVisees Visees;                         // after regeneration, in computation order
  TLeversList Levers;
  int32_t EchelleTextesDft = -1;
  int32_t IndexTriVisees = -1;
  TReseau* ReseauProprio = nullptr;  // not owned
  // The caves of the owning network (cave 0 being the surface), set with
  // ReseauProprio; none for a cave on its own.
  const foundation::TListeFichier<TCavite>* CavitesReseau = nullptr;
  TListedePoints ListePoints{false};   // stations touched by a shot, in computation order
  TListedePoints ListeEntrees{false};  // surface points touched by a shot, by name
  double XMaxCav = 0, XMinCav = 0, YMaxCav = 0, YMinCav = 0;
  double SlMaxCav = 0, SlMinCav = 0, ZMaxCav = 0, ZMinCav = 0;
  bool DimensionsExistent = false;
  bool EstSurface = false;
  TGalerie* LaGalerieActive = nullptr;
  TCalageDigit CalageDigitPlani;
  TCalageDigit CalageDigitAlti;
  TPointSpeleo* RefCalculAlti = nullptr;
  TPointSpeleo* EntreeSelectee = nullptr;
  TPointSpeleo* SauveEntreeSelectee = nullptr;
  int32_t IndexEntreeSelecte = -1;  // as stored
  TListedePoints ListeEntreesCalculees{false};
  double PrecisEntrees = 0;
  int32_t NbPrecisEntrees = 0;
  bool EntreesCalculees = false;
  double PrecisCav = 0;
  std::vector<TVisee*> ListeViseesImprimees;  // not owned
  bool UneViseeInversee = false;
  TParamDessinCavite ParamDessinCavite;
  bool Adessiner = true;
  bool CavSelectee = false;
  int32_t LargeurArbre = 0;
  bool ATopofil = false;
  TPointSpeleo* PointImport = nullptr;
  TListedePoints EntreesCalcul{false};
  TVisee* ViseeImport0 = nullptr;
  int32_t idCavSvg = -1;
  bool PointsVirtuelsModifies = false;
  bool CoupesDecalees = false;
  // Drawing data, long sections, sketches, display memories and the cave's own
  // line styles, owned here and kept by the drawing subsystem.
  std::unique_ptr<TAnnexeCavite> Annexe;

  // --- Lookups ---------------------------------------------------------------------
  bool CaviteValide() const { return Visees.Count() > 0; }
  TGalerie* UneGalerie(int i) const { return Galeries.UnObjet(i); }
  // The computed origin of shot 0: the entrance of every computation.
  TPointSpeleo* LEntree() const;
  int IndexFinCavite() const { return ListePoints.Count() - 1; }
  TPointSpeleo* LePoint(int i) const { return ListePoints.Item(i); }
  TVisee* LaVisee(int i) const { return Visees.UnObjet(i); }
  TVisee* LaViseeImprimee(int i) const;
  TVisee* PremiereViseeGalActive() const;
  TVisee* DerniereViseeGalActive() const;
  // Creates a gallery, makes it active and appends it; the first gallery of a
  // cave with no name given is "Galerie d'entrée".
  TGalerie* AjouteGalerie(const std::string& NomGal);
  // Deletes the trips no shot uses.
  void NettoieLevers();
  // The trips' statistics after NettoieLevers: for the shots of each trip in
  // computation order, PointDeb the first origin, PointFin the last end,
  // LongLevee the computed length of the shots kept, LongExclue that of the
  // excluded ones, NbVisees their number.  Splays do not count.
  void InitStatsLevers();
  static TCavite* CaviteDuPoint(const TPointSpeleo* p);
  bool EstViseeDeLaCavite(const TVisee* v) const { return Visees.IndexOf(v) >= 0; }
  // One more than the largest gallery identifier (0 when all are -1).
  int32_t DerIdGalSvg() const;
  // ListeEntreesCalculees := entry n of EntreesCalcul, then the others in order.
  void CreeListeEntreesCalculees(int n);
  // The surface points of the network (gallery 0 of cave 0); none for a cave
  // on its own.
  TListedePoints* PointsSurfaceReseau() const;

  // --- Station imports (import_points.cpp) -------------------------------------------
  // Stations from a text file of points, through the import dialog: when
  // there is no active gallery or a new one is asked, a gallery named as the
  // dialog says (or "Galerie Principale" without active gallery and without
  // name) is appended and receives them, else the active gallery does.  The
  // document is modified; Index is IndexPtCav of the last station created.
  // False (nothing changed) on cancel or when the dialog gives no point.
  bool ImporteFichierTexte(int32_t& Index);
  // One station of the old file format: into a new gallery NomGal when NomGal
  // is given or there is no active gallery ("Galerie Principale" when both
  // are missing), else into the active gallery.  The document is modified.
  TPointSpeleo* ImportePointAncien(std::unique_ptr<TPointSpeleo> Point, const std::string& NomGal);

  // --- Text exports (export_csv.cpp) -------------------------------------------------
  // The tab-separated lines of the cave: its name, the coordinate system, its
  // adjustments, the 24-column header, the entrance, then the galleries,
  // trips, shots and splays in computation order.  A field holding a tab, a
  // line break or a double quote is quoted with its quotes doubled; every row
  // of the entrance, a shot or a splay has 24 fields.
  std::vector<std::string> LignesFichierCSV();
  // Saves those lines as CSV under the cave's name through the save dialog;
  // false when cancelled or not written (with the export's failure message).
  bool GenereFichierCSV();

  // --- Marks -----------------------------------------------------------------------
  void DemarquePoints();
  TPointSpeleo* MarquePoints(TPointSpeleo* p);
  void MarquePointsDependants(TPointSpeleo* p);
  void DemarqueVisees();
  void MarqueVisees(TVisee* v);
  void MarqueEffacement(TVisee* v, bool effacer);
  bool EstPointDeBoucle(TPointSpeleo* p);

  // --- Regeneration ------------------------------------------------------------------
  // Rebuilds every derived list and orients and numbers the shots.  With vInit,
  // false when a shot has both ends unreached and each end touches only it.
  // The warnings of the shots reduced on the way go to avertissements; the
  // form without a list writes them into the computation's report.
  bool ReGenereListePoints(bool vInit, TAvertissementsCalcul& avertissements);
  bool ReGenereListePoints(bool vInit);
  // Sorts the shots of every station with several by turn angle.
  void TrieViseesOrdreTopo();
  // A station whose arriving shot starts where only it continues the gallery
  // is no side station; regenerates when any changed.
  void ControleAnnexes();

  // --- Virtual points of a computation ----------------------------------------------
  TPointSpeleo* CreePointEntreeVirtuel(TPointSpeleo* E);
  void SupprimePointEntreeVirtuel(TPointSpeleo* E, TPointSpeleo* Pv);
  void SupprimeTousPointsEntreeVirtuels();
  TPointSpeleo* CreePointBisVirtuel(TPointSpeleo* P);
  // Both walk the cave again (ReGenereListePoints, for the warnings).
  void CreePointsJonctionVirtuels(TAvertissementsCalcul& avertissements);
  void CreePointsJonctionVirtuels();
  void SupprimePointsVirtuels(TAvertissementsCalcul& avertissements);
  void SupprimePointsVirtuels();

  // --- Computation (calcul_cavite.cpp) ---------------------------------------------------
  // Coordinates of every station in shot order; with Init the shots are
  // reduced again and their corrections detached first.  The warnings go to
  // avertissements; the form without a list writes them into the
  // computation's report, as do the other forms without a list below.
  void CalculeTousPoints(bool Init, TAvertissementsCalcul& avertissements);
  void CalculeTousPoints(bool Init);
  // Meridian convergence at the entrance (radians); recomputes each trip's
  // automatic declination there.
  double CalculeConvergence();
  // Refreshes the trips' automatic declinations.
  void CalculeLesLevers();
  // Developed lengths, ascents and descents, relative heights and precisions,
  // splay ends.
  void CalculeElementsAnnexes(TAvertissementsCalcul& avertissements);
  void CalculeElementsAnnexes();
  // Developed elevation from the selected entrance alone, without corrections;
  // the ends of every shot go to the computation context (rapport_calcul.h)
  // and no virtual point is left in the cave.
  void CalculeCoupeDevel(TAvertissementsCalcul& avertissements);
  // Extremes of the attached stations.
  void CalculePointsExtremes();
  // Coordinates, then passage dimensions of every station from its splays.
  void CalculeGDHB();
  // Scale of the plan drawing when set, else of the first long section that
  // has one, else -1.
  double EchelleParDefaut() const;

  // --- Drawing geometry (dessin_cavite.cpp) ------------------------------------------------
  // Wall, ceiling and floor points of every station after the network was
  // computed: square to the arriving shot at a station, on the bisector of the
  // turn where the walk continues from it in the same gallery.  Also the
  // abscissas shown in elevations and UneViseeInversee.
  void CalculeDessinCav();
  // The wall points, then the drawing data's plan computation (gallery
  // outlines, plan drawing, sketches); nothing for a cave without shots.
  void CalculeDessinPlani();
  // The entrance, or the surface point of the shot being entered for a cave
  // without shots; none when neither is known.
  const TPointSpeleo* PositionEntree() const;
  // WGS84 latitude and longitude (radians) of that position.
  bool EntreeWGS(double& lat, double& lon) const;
  // "Lat : 44.5000 S", "Long : 1.2500 O"; both empty when EntreeWGS fails.
  bool EntreeWGSStr(std::string& LatStr, std::string& LongStr) const;

  // --- Removal ---------------------------------------------------------------------------
  // Removes stations (and survey trips) from the model: every reference the
  // caves of the network hold (shot ends, loop partners, entrances, altitude
  // reference, import anchor, trips' statistics, calibrations, derived lists,
  // the drawing data) is redirected to the given replacement or cleared, the
  // registered clean-up routines run, then each station leaves its gallery and
  // is freed, and each trip leaves this cave's list and is freed.
  void SupprimePoints(const TSuppressions& s);

  // --- Editing (edition_cavite.cpp) -----------------------------------------------------
  // Every edit leaves the cave regenerated and, when it changed the document,
  // sets DocumentModifie.  The windows are reached through the survey ports;
  // without one an operation behaves as cancelled.  A refused question leaves
  // the cave as it was, flags included.
  //
  // A new shot or splay from the shot-entry dialog, from the source shot
  // (before it with InsertionVisee); true with the new shot or splay.
  bool CreeVisee(TVisee* ViseeSource, TValeurVisee*& ViseeCree);
  // Corrects a shot or a splay in the shot-entry dialog; true when confirmed.
  bool RectifVisee(TValeurVisee& ViseeTemp);
  // A splay hung on V with the values and comments of S (unless
  // RectifEnCours, a new one, appended; else H itself is corrected).  It
  // starts from V's station when S's computed origin is that station, from
  // V's target for another origin, and as S.RefPtStat says without origin.
  void CopieEnViseeHabi(TVisee& V, const TValeurVisee& S, TViseeHabi*& H);
  // Every later shot downstream of V that used ancien takes V's trip.
  void ReporteLeverSuivantes(TVisee& V, const TLever* ancien);
  // The shot becomes a splay of its previous shot; none when it cannot (no
  // previous shot, or shots continue from its end).
  TViseeHabi* TransfoEnHabi(TVisee* ViseeInit);
  // The splay becomes a main shot to a new station IncDesignPt (station + "-").
  TVisee* HabiEnVisee(TViseeHabi* ViseeInit);
  // The first name Designation + n (n = 1, 2 ...) no station of the cave
  // bears, names compared without regard to case.
  std::string IncDesignPt(const std::string& Designation) const;
  // Entrance change: the old entrance becomes the station E + "-Ancien", N
  // becomes the selected entrance and V's end.
  void ChangeEntree(TVisee* vVisee, TPointSpeleo* nPt);
  bool CreeBoucle(TVisee* ViseeSpel);
  // Flags the shot for deletion (after the question when Confirm).
  bool SupprimeVisee(TVisee* ViseeSpel, bool Confirm);
  // Deletes a loop-closing shot.
  bool SupprimeViseeRat(TVisee* ViseeSpel);
  // Flags the shot and every shot downstream, after confirmation.
  bool SupprimeViseesSuivantes(TVisee* ViseeSpel);
  // Removes the flagged shots in one pass (their drawings first) and flags
  // PtAEffacer the stations left without shot.
  void EffaceViseesSupprimees();
  // Removes the flagged stations (through SupprimePoints, after the
  // network's adjustments ending on them), the galleries left empty.
  void EffacePointsMarques();
  void EffacePointsSupprimes();
  bool EstViseeBouclage(const TVisee* vVisee) const;
  bool TransfoViseeBouclage(TVisee* vVisee);
  bool ChangeRattachPt(TVisee* ViseeSelect);
  bool RattacheCaviteSurface();
  void FusionneGaleries();
  void TransfereFinGalerie(TPointSpeleo* PremPts, TGalerie* NouvelleGal);
  void TransfereGalerie(TGalerie* GalSource, TGalerie* GalDest);
  void TransfereViseesMarquees(TGalerie* NouvelleGal);
  bool IndividualiseGalerie(TVisee* ViseeSelect);
  // Renames every station computed downstream of the shot in series.
  void RenumTpRb(TVisee* vDepart);
  // Asks which caves to merge into this one, then merges them.
  bool ChoisitEtFusionneCavites(const std::vector<TCavite*>& cavites);
  // Merges C into this cave; C leaves the network and is freed.
  bool FusionneCavite(TCavite* C);

  // --- After reading -----------------------------------------------------------------
  // Gives each main shot its trip: the default trip for a negative position,
  // else the trip at that position; a position beyond the list also gives the
  // default trip, and the shots concerned are reported once.  Returns how many
  // there were.  A shot entered with a thread counter sets ATopofil.
  int AffecteLeversVisees();
  // The stored entrance position, when it designates a surface point, becomes
  // the selected entrance.
  void AffecteEntreeStockee();

 private:
  // The steps of ReGenereListePoints, in their order.
  struct TViseesPropres {
    std::unordered_set<const TVisee*> visees;
    std::unordered_set<const TViseeHabi*> habi;
  };
  void RemetPointsAZero();
  void ClasseParNomPointsSurface();
  void RetireViseesDesPointsSurface(const TViseesPropres& propres);
  void RemetViseesAZero();
  void AccrocheViseesAuxPoints();
  void RetirePointsSansVisee();
  void PrepareEntrees();
  void ParcourtDepuisEntrees(const std::unordered_set<const TVisee*>& propres, TAvertissementsCalcul& avertissements);
  bool AViseeNonRattachee() const;
  void NumeroteVisees();
  void ClassePointsEtGaleries();
  void RangeViseesParGalerie();

  void Parcourt(TPointSpeleo* depart, const std::unordered_set<const TVisee*>& propres,
                TAvertissementsCalcul& avertissements);
  void NettoieReferences(const TSuppressions& s);
  // SupprimePoints after the network's adjustments ending on a station that
  // goes without replacement were deleted.
  void RetirePoints(const TSuppressions& s);
  // Stations of a shot the dialog created join the gallery.
  void AdopteExtremites(TVisee& v, TGalerie* g, bool insertion, TVisee* source);
  void AnnuleEffacement();
  // Deletes the galleries without station; true when any went.
  bool SupprimeGaleriesVides();
  void RetireSuppressions(const TSuppressions& s, const std::vector<TCavite*>& cavites);
};

// Frees every cave of a network.  The stations and shots of the caves point at
// one another across caves (through the surface points), so a network is freed
// whole through this routine rather than cave by cave.
void DetruitCavites(foundation::TListeFichier<TCavite>& cavites);

// Before a document is written: numbers every station of the network, cave by
// cave in each cave's point list order (stations of a gallery missing from the
// list follow), into the network's station index.
void NumeroteTousPoints(const foundation::TListeFichier<TCavite>& cavites);
// After the galleries were read: rebuilds the network's station index from
// every gallery's stations sorted by IndiceReseau (each station's IndiceReseau
// becomes its position) and links the loop partners.
void RecreeIndexReseau(const foundation::TListeFichier<TCavite>& cavites);

}  // namespace survey
