#pragma once
// The SVG export of a cave drawing view: the writer TFichierSVG (its lines,
// primitives and number formats, the document skeleton with its layers, the
// survey geometry, the definitions block, the drawn elements, texts and cross
// sections) and the entry point ExporteSVG that a plan or elevation view
// calls.  One user unit of the document is one ground metre.
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "drawing/constantes_svg.h"
#include "drawing/sortie_svg.h"
#include "drawing/types_objets_dessin.h"
#include "foundation/point_topo.h"
#include "survey/sauve_fich_txt.h"

namespace survey {
class TCavite;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace drawing {
class TCalque;
class TDefObjetFonte;
class TDefObjetTrait;
class TDefSymbole;
class TDonneesCoupe;
class TDonneesEcart;
class TListeDonneesDessin;
class TListeMotifs;
class TListeSymboles;
class TObjetDonneesBasique;
class TObjetDonneesSymbole;
class TObjetMotifdeBase;
class TObjetTexte;
class tListeMtf;
class tPolyGal;
}  // namespace drawing

namespace formats {

// The kinds of objects an export writes (bit = drawing::TypeObjetDessin).
using TObjetsSVG = uint32_t;
// {odNumPt, odNumSurf, odPtSurf, odPtLever, odVisHab, odGalerie, odDessin,
// odTexte, odQuadrill, odCoupes, odEcarts}.
inline constexpr TObjetsSVG ObjetsSVGDefaut = 0x2106FB;
inline constexpr bool ContientObjet(TObjetsSVG e, drawing::TypeObjetDessin t) {
  return (e & drawing::BitTypeObjet(t)) != 0;
}

// Text as XML character data of a UTF-8 file: & < > " ' escaped, characters
// XML does not allow (control characters, malformed bytes) left out.
std::string EchappeSVG(const std::string& texte);

// The font values a text is written with.
struct TFonteSVG {
  std::string NomPolice;
  int32_t Taille = 10;
  bool Italique = false;
  bool Gras = false;
  uint32_t Couleur = 0;
};
TFonteSVG FonteSVG(const drawing::TDefObjetFonte& fonte);

class TFichierSVG : public survey::TSauveFichTxt, public drawing::SortieSVG {
 public:
  TFichierSVG();
  ~TFichierSVG() override;
  TFichierSVG(const TFichierSVG&) = delete;
  TFichierSVG& operator=(const TFichierSVG&) = delete;

  // --- Lines ----------------------------------------------------------------------
  // The definitions block, assembled last, and the drawing, written before it.
  std::vector<std::string> StringsDef;
  std::vector<std::string> StringsDessin;
  // The list the primitives write into: Lignes, StringsDessin or StringsDef.
  std::vector<std::string>* LignesCourantes;

  std::string NomSVG;
  int NumCalqueSVG = 0;
  std::string IndentTotal;
  double CoeffTraits = 1.0;  // ground metres per unit of pen width
  double CoeffFontes = 1.0;  // ground metres per point of font size
  int32_t MargeSVG = 0;      // metres around the extent
  double EchelleTextesSVG = 1000;
  survey::TCavite* CaviteSVG = nullptr;
  double AbsMin = 0, AbsMax = 0, OrdMin = 0, OrdMax = 0;
  // The stations on the survey lines written for the cave being written, in
  // order, once each (not owned).
  std::vector<const survey::TPointSpeleo*> ListePointsSVG;
  // The view's layer of watermark objects (odAutreNiveau), not owned.
  const drawing::TCalque* CalqueFiligranes = nullptr;
  TObjetsSVG ObjetsExports = ObjetsSVGDefaut;
  bool EstInskape = true;  // editor variant

  // --- Primitives -----------------------------------------------------------------
  void EcritBlocSVG(const std::string& texte) override;
  void EcritLigneSVG(const std::string& texte) override;
  void EcritFinBlocSVG(const std::string& nom) override;
  // The text unless it repeats the one written just before.
  void EcritSVGHachure(const std::string& texte);
  // Opens a layer group labelled PrefixeCalque + name, id "layer<n>".
  void EcritCalqueSVG(const std::string& nom);
  // Closes the layer opened at level 1.
  void FermeCalqueSVG();
  // Empties this writer's lines and takes the indentation, margin and extent
  // of the other.
  void ReprendEtat(const TFichierSVG& autre);

  // --- Formats --------------------------------------------------------------------
  // Three decimals, '.' ("12.500").
  std::string ChiffreSVG(double valeur) const override;
  // A pen measure in metres, five decimals.
  std::string MesuresStr(double valeur) const;
  // A font size in metres, five decimals.
  std::string TailleFonteStr(double valeur) const;
  // The document's x and y of a ground point (SlH and Z in an elevation);
  // the y axis points down.
  std::string AbsSVG(const foundation::TPointTopo& p) const;
  std::string OrdSVG(const foundation::TPointTopo& p) const;
  std::string PointPolyStr(const foundation::TPointTopo& p) const;
  // "#RRGGBB", or the watermark colour in single-colour mode.
  std::string CouleurSVG(uint32_t couleur) const override;

  // --- Patterns used ----------------------------------------------------------------
  // The patterns the drawing refers to, written in the definitions block.
  void MarqueUtilise(const drawing::TObjetMotifdeBase* motif);
  bool EstUtilise(const drawing::TObjetMotifdeBase* motif) const { return utilises_.count(motif) != 0; }
  // Whether the definitions block will hold a fill pattern for the style: a
  // style of the document's or the Therion library's line styles or fills
  // with a texture or a hatched brush.
  bool AMotifRemplissage(const drawing::TDefObjetTrait& trait) const;
  // Whether the definitions block will hold the symbol (an entry of the
  // symbol or surface-symbol lists of those libraries).
  bool SymboleDefini(const drawing::TObjetMotifdeBase* symbole) const { return symbolesDefinis_.count(symbole) != 0; }

  // The coefficients, the margin, the text scale and the dash arrays of
  // pen styles 1 to 3 from the view's EchelleFontes.
  void FixeEchelle();
  // Gives every entry of the libraries its identifier and forgets the
  // patterns used (the start of the drawing).
  void PrepareBibliotheques();

  // --- The document -----------------------------------------------------------------
  // Writes the document and saves it through the save dialog ("Fichiers
  // SVG|*.SVG", UTF-8); false when cancelled, when nothing was chosen in the
  // web variant's dialog or when the file could not be written.
  bool GenereFichierSVG(survey::TReseau& reseau, bool sansFenetre);
  // Builds the document's lines (the dialog already answered); the writer's
  // Lignes then hold the whole file.
  void ConstruitSVG(survey::TReseau& reseau, const std::vector<std::string>& script);
  void EcritCavite(survey::TCavite& cavite);
  void EcritEnveloppe(const drawing::tPolyGal& poly);
  void EcritCheminementGaleries(int g);
  void EcritViseesHabillage(int g);
  void EcritNumPoints();
  void EcritCarroyage();
  void EcritEcart(drawing::TDonneesEcart& ecart);
  void EcritFiligrane(const drawing::TDonneesEcart& ecart);

  // --- Definitions, drawn elements and texts ------------------------------------------
  void EcritDefs(double echelleTextes);
  void EcritDessin(drawing::TListeDonneesDessin& liste);
  void EcritObjetBasique(drawing::TObjetDonneesBasique& objet);
  void EcritRemplissages(drawing::TListeDonneesDessin& liste);
  void EcritSymbole(drawing::TObjetDonneesSymbole& symbole);
  void EcritTexte(drawing::TObjetTexte& texte);
  // A horizontal text, or one turned by r degrees about its anchor.
  void EcritTexteAncre(const foundation::TPointTopo& ancre, const TFonteSVG& fonte, const std::string& texte,
                       bool tourne, double degres);
  void EcritTexteSurCourbe(drawing::TObjetTexte& texte);
  void EcritFlecheTexte(const drawing::TObjetTexte& texte);
  void EcritCoupe(drawing::TDonneesCoupe& coupe);
  void EcritCadreCoupe(drawing::TDonneesCoupe& coupe);

 private:
  void AjouteStation(const survey::TPointSpeleo* p);
  void EcritMotifsTraits(const drawing::TListeMotifs& liste, std::unordered_set<std::string>& hachures);
  void EcritSymboles(const drawing::TListeSymboles& liste);
  void EcritBibliotheque(const drawing::tListeMtf& bibliotheque, std::unordered_set<std::string>& hachures);
  void EcritMarqueurs(double echelleTextes);

  std::unordered_set<const survey::TPointSpeleo*> stationsSVG_;
  std::unordered_set<const drawing::TObjetMotifdeBase*> utilises_;
  std::unordered_set<const drawing::TObjetMotifdeBase*> avecMotif_;
  std::unordered_set<const drawing::TObjetMotifdeBase*> symbolesDefinis_;
};

// The libraries whose used entries the definitions block writes: the
// document's, then the Therion set's.
std::vector<drawing::tListeMtf*> BibliothequesSVG();

// The export a plan or elevation view starts (its SVG button): the writer for
// the network's active cave with the view's constants, its watermark layer
// and the variant (web when sansFenetre: the main window's "Fichier SVG
// Plani").  The current drawing kind, the view transform (origin, extent)
// and EchelleFontes are the view's.  The display objects of the drawing
// (fills, texts, cross-section frames) are those the view built.  True when
// the file was saved.
bool ExporteSVG(survey::TReseau& reseau, const drawing::TConstantesSVG& constantes,
                const drawing::TCalque* filigranes, bool sansFenetre);

}  // namespace formats
