#pragma once
// The process-wide state that the stored drawings share while they are read,
// written, computed and copied: the shot lists of the document being read, the
// sketch context, relative placement (cross sections), the extent that
// computed points widen, the displacement of an offset part, the cave being
// drawn and the document's pattern library.  Every operation that changes one
// of these values for a while takes a guard that puts it back, also when an
// exception leaves the operation.
#include <cstdint>
#include <utility>
#include <vector>

#include "drawing/types_objets_dessin.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"

namespace platform {
class Canvas;
}  // namespace platform

namespace survey {
class TCavite;
struct TParamDessinCavite;
}  // namespace survey

namespace drawing {

class TPointDessin;
class TObjetDonneesBasique;
class tListeMtf;
class TCacheIndexVisees;
template <class T>
class TListeElements;

// What the drawing objects read while a window, a page or an export paints
// them.  The window being painted sets its values for the paint (through
// GardeAffichage or GardeValeur); the objects never keep them.
struct EtatAffichage {
  // Every object is drawn, without culling by the visible rectangle.
  bool ToutDessiner = false;
  // Objects draw with a red pen (parts of fills being built).
  bool TraceEnRouge = false;
  // Offset mode (elevation blocks placed on a layout): pixels are shifted by
  // DecalageX, DecalageY and culling is off.
  bool DecalageActif = false;
  int32_t DecalageX = 0;
  int32_t DecalageY = 0;
  // Symbol-frame mode (a north arrow printed on a page): pixel X is the
  // drawing X, pixel Y is HauteurRepereSymbole minus the drawing Y.
  bool RepereSymbole = false;
  int32_t HauteurRepereSymbole = 0;
  // Added to every computed pixel (an object drawn alone into a bitmap of
  // its own extent).
  int32_t DecalageVueX = 0;
  int32_t DecalageVueY = 0;
  // The visible kinds of the window being painted.
  TObjetsAffichables ObjetsAffichablesCourants;
  // The layer being drawn shows other caves (pen and brush silver).
  bool DessinAutresCavites = false;
  // Watermark objects are not drawn.
  bool FiligranesMasques = false;
  // The visible rectangle in drawing units, Y upward.
  foundation::TRect RectVisibleDessin;
  // The drawing flags of the cave whose objects are being made (new objects
  // take it), not owned.
  survey::TParamDessinCavite* ParamCaviteCourant = nullptr;
  // The line tracer writes SVG lengths (1) instead of screen and printer
  // lengths (0).
  uint8_t ModeTraceur = 0;
  // Station and splay-shot comments are written beside the names (the
  // window's comment switch).
  bool AfficheCommentaires = false;
  // The serial numbers of the objects that failed to draw during the paint;
  // the painter reports them once the paint is over (SignaleErreursObjets).
  std::vector<int32_t> ObjetsEnErreur;
};

// While a document is read, the shot lists that drawing points refer to are
// the document reader's (survey/contexte_reseau.h, ListesViseesLues).
struct ContexteDessin {
  // Drawing points read keep no reference shot (elements of cross sections).
  bool LectureSansVisees = false;
  // Sketch records: patterns come from the drawing-import lists and lines
  // carry control sums.
  bool ContexteCroquis = false;
  // Copies keep their own reference shot (copies inside one cave).
  bool CopieMemeCavite = false;
  // Points are placed from PointRelatifRef (cross sections).
  bool CalculRelatif = false;
  TPointDessin* PointRelatifRef = nullptr;
  double CoeffRelatif = 1.0;
  // The cave whose drawings are read, written or computed.
  survey::TCavite* CaviteDessinCourante = nullptr;
  // Widened by every point placed from a shot; the caller of a computation
  // sets them first (usually to the cave's extent).
  double XMinDessin = foundation::ValeurIndefiniePositive;
  double XMaxDessin = foundation::ValeurIndefinie;
  double YMinDessin = foundation::ValeurIndefiniePositive;
  double YMaxDessin = foundation::ValeurIndefinie;
  // The lines into which the fills of the element list being streamed index.
  TListeElements<TObjetDonneesBasique>* LignesCourantes = nullptr;
  // Ground offset added to every point placed from a shot while an offset
  // part is computed; 0 otherwise.
  double DecalageDessinX = 0;
  double DecalageDessinY = 0;
  // Texts recompute their first point at the next computation.
  bool RecalculeTextes = false;
  // Every text keeps its own scale, even the -1 of a text that has none.
  bool EchelleTexteParTexte = false;
  // What a survey label shows: 0 what its kind says, 1 absolute altitude, 2
  // relative altitude.
  int32_t ModeInfoTexte = 0;
  // The watermark colour of the settings ([Filigranes] Couleur) and the
  // colour in which watermark copies are being made.
  uint32_t CouleurFiligrane = 0xC0C0C0;
  uint32_t CouleurFiligraneCourante = 0xC0C0C0;
  // The document's pattern library (made with the network), not owned.
  tListeMtf* ListesMtfReseau = nullptr;
  // Spatial indexes of reference shots, alive during one computation.
  TCacheIndexVisees* IndexVisees = nullptr;
  // Depth of nested offset parts being read.
  int ProfondeurLecture = 0;
  // The grid spacing in metres (the editors' grid settings).
  double PasQuadrillage = 1.0;
  // The colour of the coordinate and altitude ticks (set by the views).
  uint32_t CouleurGraduations = 0x808080;
  // The values of the paint in progress.
  EtatAffichage Affichage;
  // The serial number of the last drawing object made (the first gets 1).
  int32_t CompteurObjets = 0;
};

ContexteDessin& Dessin();

// Saves the whole drawing state and restores it on exit.
class GardeContexteDessin {
 public:
  GardeContexteDessin() : sauve_(Dessin()) {}
  ~GardeContexteDessin() { Dessin() = sauve_; }
  GardeContexteDessin(const GardeContexteDessin&) = delete;
  GardeContexteDessin& operator=(const GardeContexteDessin&) = delete;

 private:
  ContexteDessin sauve_;
};

// Gives one value of the drawing state (or any variable) a new value for the
// life of the guard.
template <class T>
class GardeValeur {
 public:
  GardeValeur(T& valeur, T nouvelle) : valeur_(valeur), sauve_(std::move(valeur)) { valeur_ = std::move(nouvelle); }
  ~GardeValeur() { valeur_ = std::move(sauve_); }
  GardeValeur(const GardeValeur&) = delete;
  GardeValeur& operator=(const GardeValeur&) = delete;

 private:
  T& valeur_;
  T sauve_;
};

// The values of the paint in progress (Dessin().Affichage).
inline EtatAffichage& Affichage() { return Dessin().Affichage; }

// Saves the values of the paint and restores them on exit.
class GardeAffichage {
 public:
  GardeAffichage() : sauve_(Affichage()) {}
  ~GardeAffichage() { Affichage() = std::move(sauve_); }
  GardeAffichage(const GardeAffichage&) = delete;
  GardeAffichage& operator=(const GardeAffichage&) = delete;

 private:
  EtatAffichage sauve_;
};

// Notes that the object failed to draw on that canvas: kept by the canvas
// when it defers its calls (a drawing on another thread, whose caller adds
// the failures to ObjetsEnErreur in the objects' order), else added to
// ObjetsEnErreur at once.
void NoteObjetEnErreur(platform::Canvas& canvas, int32_t objet);

// Reports the objects that failed to draw during the paint ("erreur objet n° :
// <n>", one message through the dialog port) and forgets them.
void SignaleErreursObjets();

// Sets the extent that computed points widen.
void FixeEtendueDessin(double xMin, double xMax, double yMin, double yMax);
// Extent reset so that the first point placed sets it.
void InitEtendueDessin();

}  // namespace drawing
