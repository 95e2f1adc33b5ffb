#pragma once
// The network document: a named network of caves placed in one coordinate
// system.  Cave 0 is always the surface, whose single gallery holds the
// surface points.  The network owns its caves and its stored adjustments and
// keeps a non-owning index of all survey trips.  Creating a network creates
// the document-wide objects that live beside it (operators, instruments, and
// through the registered factories the pattern library, the background maps,
// the loop list and the plan page layouts) and makes them the process-wide
// ones; destroying it frees them and leaves no process-wide reference to them.
//
// Reading and writing the document file are in fichier_reseau.h.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "platform/file_lock.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/instrument.h"
#include "survey/operateur.h"
#include "survey/liens_dessin.h"
#include "survey/parties_reseau.h"

namespace foundation {
struct ContexteVue;
}

namespace survey {

// A cave list as the selectors show it: name and cave.
using TListeCavites = std::vector<std::pair<std::string, TCavite*>>;

class TReseau {
 public:
  // The fields of a new network and its document-wide objects, which become
  // the process-wide ones; the network becomes ReseauCourant.
  TReseau();
  // Frees everything; the lock on the document file goes with the network.
  ~TReseau();
  TReseau(const TReseau&) = delete;
  TReseau& operator=(const TReseau&) = delete;

  // --- Stored ---------------------------------------------------------------------------
  std::string Nom;
  // Catalogue lines of the network's system, so that the document keeps its
  // system where the current catalogue lacks it.
  std::string ParamsEllipsoide, ParamsDatum, ParamsProjection;
  std::string Projection;  // empty: independent coordinates
  int32_t NumFuseau = -1;  // zone of a multi-zone system; 0 or less for none
  foundation::TListeFichier<TCompens> Compensations;
  foundation::TListeFichier<TCavite> Cavites;  // position 0 is the surface
  // Whether the shot table listed the splay shots when the document was
  // saved; kept in the companion file, unknown for a companion file that
  // does not say.
  std::optional<bool> ViseesHabAffichees;

  // --- State ------------------------------------------------------------------------------
  // The lock held on the document file from its reading or its saving on
  // (fichier_reseau.h); the file's permissions are never changed.
  platform::FileLock Verrou;
  int32_t DerCompens = -1;  // position of the last stored adjustment
  std::vector<TLever*> ListeDesLevers;  // every trip of every cave (not owned)
  TCavite* LaCaviteActive = nullptr;
  bool LectureSeule = false;  // opened read-only: another instance holds the file, or it cannot be written
  bool VerrouRefuse = false;  // another instance held the file's lock when it was opened
  platform::WriteBlock Protection = platform::WriteBlock::None;  // why the file could not be written, when opened
  TPointSpeleo* EntreeImport = nullptr;
  TCavite* CaviteImportee = nullptr;
  bool CalculProjection = true;
  int32_t TypeImport = 0;
  // What the coordinate system could not give, as already said to the user
  // for this document and this system (Projection, zone): a computation says
  // only what is new.
  std::string SystemeAverti;
  std::vector<std::string> AvertissementsSystemeMontres;

  // --- Document-wide objects ------------------------------------------------------------
  TListeOperateurs ListeOperateurs;
  TListeInstruments ListeInstruments;
  std::array<std::unique_ptr<TPartieReseau>, NombrePartiesReseau> Parties;
  TPartieReseau& Partie(TGenrePartie genre) const { return *Parties[static_cast<size_t>(genre)]; }

  // Makes this network and its document-wide objects the process-wide ones.
  void Active();

  // --- Caves ------------------------------------------------------------------------------
  const std::string& NomReseau() const { return Nom; }
  TCavite* UneCavite(int i) const { return Cavites.UnObjet(i); }
  int NombreCavites() const { return Cavites.Count(); }
  // Appends the cave; it belongs to this network from then on.
  TCavite* AjouteCavite(std::unique_ptr<TCavite> cavite);
  // When the network has no cave: the surface cave "Surface" with its gallery
  // "Points de surface", made active.
  void CreeCaviteSurface();
  // The surface points (the surface gallery's stations); none without surface.
  TListedePoints* LesPointsSurface() const;
  TPointSpeleo* LePointSurface(int i) const;
  // Asks for the name of a new cave ("Saisie du nom de la cavité"); on OK the
  // cave is appended and made active, and a network without name takes it
  // when it is the first cave.  False on cancel.
  bool CreeCavite();
  // The caves from position 1 on sorted by name (in a drawing view only
  // those computed and to be drawn); makes sure a cave is active; returns the
  // position of the active cave in the list, -1 when not listed or with
  // fewer than two caves.
  int AfficheListeCavites(TListeCavites& liste, bool vueDessin);

  // --- Coordinate system ----------------------------------------------------------------
  // "LT 93 - fuseau 3", "LT 93", or "coordonnées indépendantes".
  std::string ProjectStr() const;
  // The catalogue lines of the network's system (none for no system or "UTM").
  void ChercheParamsProj();
  // After reading: warns when the catalogue does not list the system, then
  // adds the stored lines to it.
  void ChargeParamsProj();
  // X and Y (multiplied by 1000 when in kilometres) from the given system and
  // zone into the network's when they differ.
  void TransformePointTopo(bool enKm, const std::string& systeme, foundation::TPointTopo& point, int32_t zone) const;
  void TransformePointSurface(TPointSpeleo& point, const std::string& systeme, int32_t zone) const;
  void TransformeObjetTopo(bool enKm, const std::string& systeme, foundation::TObjetTopo& objet, int32_t zone) const;
  // Converts the surface points, the plan page layouts, every cave's plan
  // drawing and plan digitising calibration and the background maps from the
  // old system to the new one, all or nothing: both systems must be in the
  // catalogue and a point of the document (a surface point, else a cave's
  // entrance) must convert, else nothing is converted, a French message
  // names the system and the answer is false.  Independent coordinates on
  // either side, or the same system and zone, convert nothing (true).  The
  // caller then stores Projection and NumFuseau.
  bool ChangementProjectionPossible(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                                    const std::string& nouveau) const;
  bool ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                        const std::string& nouveau);

  // --- Trips, deletions, merges ---------------------------------------------------------
  // Rebuilds ListeDesLevers and the Utilise flags of operators and instruments.
  void CreeListeLevers();
  // After stations were marked for deletion (PtAEffacer): deletes the stored
  // adjustments starting or ending on one and clears the loop partners that
  // are one.
  void NettoieLiensSupprimes();
  // Deletes stored adjustment i; no shot keeps its corrections.
  void SupprimeCompensation(int i);
  // The active cave deletes the shot (after its question), or the shot and
  // every shot downstream; when it did, the shots go, then the adjustments
  // and loop links of the stations left without shot, then those stations.
  // True when deleted.
  bool SupprimeVisee(TVisee* visee);
  bool SupprimeViseesSuivantes(TVisee* visee);
  // The caves (other than the surface and the active cave) holding a station
  // associated by a loop with a station of the active cave, without repeats.
  std::vector<TCavite*> CavitesFusionnables() const;
  // Shows "Il n'y a pas de fusions possibles avec cette cavité" when there is
  // none and answers false; otherwise hands them to the cave merge.
  bool FusionneCavites();

  // --- Patterns ---------------------------------------------------------------------------
  // Whether the network uses the pattern where patterns of its list are used:
  // a cave's drawings (the caves asked in order; the first that uses it sets
  // its locks and ends the search), a plan page layout's north arrow, a
  // surface point's symbol; nowhere for Aucun.  The library's lock computation
  // asks this for each entry.
  bool UtiliseMotif(const TMotifDocument* motif, TUsageMotif usage);
  void FusionneMotifsDeBase(TMotifDocument* garde, TMotifDocument* fusionne);
  void FusionneFlecheN(TMotifDocument* garde, TMotifDocument* fusionne);
  void FusionneMotifsSurface(TMotifDocument* garde, TMotifDocument* fusionne);
  void ChangeCouleurFiligr(uint32_t ancienne);
  // Every surface point with vCatPt 0 or more takes the surface symbol at
  // that position of the document library.
  void LieSymbolesSurface();

  // --- SVG identifiers and the XML listing --------------------------------------------
  int32_t DerIdCavSvg() const;
  void MajIdSvg();
  // "Test.XML" in the folder given (the current folder by default) with the
  // caves and their galleries; false when it cannot be written.
  bool CreeXmlCavites(const std::string& dossier = std::string());

  // --- Computation (calcul_reseau.cpp) ----------------------------------------------
  // The full computation of every cave, with the entrance trials; the warnings
  // its passes return it writes into the computation context
  // (rapport_calcul.h) when it is done.
  void CalculeReseau();
  // One pass over every cave; Essai during the entrance trials.  The
  // warnings of the pass go to avertissements, none into the report.
  void CalculeToutReseau(bool Essai, TAvertissementsCalcul& avertissements);
  // One cave: temporary adjustments of the secondary entrances, loop
  // duplicates, coordinates, stored adjustments; its warnings (a cave whose
  // computation stopped among them) go to avertissements.
  void CalculeCavite(TCavite* UneCav, TAvertissementsCalcul& avertissements);
  // The view extremes from the caves' extremes.
  void CalculeExtremes();

  // --- The document file (fichier_reseau.cpp) ---------------------------------------
  // Writes the whole document into a stream at the current level.
  bool Ecrit(foundation::TFlux& f);
  // Reads a whole document from a stream into this fresh network (the
  // messages of a refused level are shown; the general one is the caller's).
  bool Lit(foundation::TFlux& f);
  // Reads a document file, with the read-only bookkeeping when the path is
  // the current document's; the general message on failure.
  bool LitFichier(const std::string& chemin);
  // The .CFG companion as a stream.
  bool EcritConfig(foundation::TFlux& f);
  bool LitConfig(foundation::TFlux& f);
  // The companion of the current document: writing replaces it through a
  // temporary file; reading a missing one is no error.
  bool EcritFichierConfig();
  bool LitFichierConfig();
  // Puts the current document file first in the recent-file list.
  void AjouteFichierRecent();

 private:
  bool LitAutresObjets(TCavite& cavite, foundation::TFlux& f);
  bool EcritAutresObjets(TCavite& cavite, foundation::TFlux& f);
  void PrepareEcriture();
};

// The network's station numbering before a write: every station of every
// cave, gallery by gallery in the order the reader reads them, takes its
// position in the network's station index.  Virtual points are removed first.
void NumeroteStationsEcriture(const foundation::TListeFichier<TCavite>& cavites);

// Takes the cave's computed extent (XMinCav ... ZMaxCav) into the view
// extent: X and Y, and without planSeul also SL and Z; with premiere the view
// extent becomes the cave's.
void EtendVueACavite(foundation::ContexteVue& vue, const TCavite& cavite, bool premiere, bool planSeul = false);

// The conversions the survey model asks through its ports, done by the
// projection services and the current network; the network's cave merge.
void InstallePortsReseau();

}  // namespace survey
