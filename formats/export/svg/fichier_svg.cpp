#include "formats/export/svg/fichier_svg.h"

#include <algorithm>

#include "drawing/contexte_dessin.h"
#include "drawing/fonte.h"
#include "formats/contexte_formats.h"
#include "formats/export/svg/etat_export_svg.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "survey/point_speleo.h"

namespace formats {

TEtatExportSVG& EtatSVG() { return ContexteFormats().ExportSVG; }

GardeExportSVG::GardeExportSVG()
    : sauve_(EtatSVG()),
      type_(foundation::Vue().TypeDessinCourant),
      modeTraceur_(drawing::Affichage().ModeTraceur),
      tmp_(std::make_unique<TFichierSVG>()) {
  TEtatExportSVG& e = EtatSVG();
  e.ExportSVGActif = true;
  e.CouleurUnique = false;
  e.FichierSVGTmp = tmp_.get();
  e.DerniereLigneSVG.clear();
  e.PrefixeCalque.clear();
  e.NbCourbesTexte = 0;
  drawing::Affichage().ModeTraceur = 1;
}

GardeExportSVG::~GardeExportSVG() {
  TEtatExportSVG& e = EtatSVG();
  const auto tirets = e.TiretsSVG;
  e = sauve_;
  e.TiretsSVG = tirets;
  e.ExportSVGActif = false;
  drawing::Affichage().ModeTraceur = modeTraceur_;
}

std::string EchappeSVG(const std::string& texte) {
  std::string r;
  r.reserve(texte.size());
  size_t i = 0;
  while (i < texte.size()) {
    const char32_t c = foundation::LitCaractere(texte, i);
    switch (c) {
      case U'&': r += "&amp;"; break;
      case U'<': r += "&lt;"; break;
      case U'>': r += "&gt;"; break;
      case U'"': r += "&quot;"; break;
      case U'\'': r += "&apos;"; break;
      default:
        // XML 1.0 characters only: no control character but tab and line
        // ends, no malformed byte (read as U+FFFD), no U+FFFE or U+FFFF.
        if ((c < 0x20 && c != U'\t' && c != U'\n' && c != U'\r') || c == 0xFFFD || c == 0xFFFE || c == 0xFFFF)
          break;
        foundation::AjouteCaractere(r, c);
    }
  }
  return r;
}

TFonteSVG FonteSVG(const drawing::TDefObjetFonte& fonte) {
  TFonteSVG f;
  f.NomPolice = fonte.NomPolice;
  f.Taille = fonte.Taille;
  f.Italique = fonte.Style.Contient(drawing::TStyleFonte::fsItalic);
  f.Gras = fonte.Style.Contient(drawing::TStyleFonte::fsBold);
  f.Couleur = fonte.Couleur;
  return f;
}

TFichierSVG::TFichierSVG() : LignesCourantes(&Lignes) {}

TFichierSVG::~TFichierSVG() = default;

// --- Primitives ---------------------------------------------------------------------

void TFichierSVG::EcritBlocSVG(const std::string& texte) {
  IndentTotal = foundation::ChaineEspaces(2 * std::max(0, NBIndent));
  EcritLigneSVG("<" + texte);
  IndentTotal += "   ";
}

void TFichierSVG::EcritLigneSVG(const std::string& texte) {
  std::string ligne;
  ligne.reserve(IndentTotal.size() + texte.size());
  ligne += IndentTotal;
  ligne += texte;
  LignesCourantes->push_back(std::move(ligne));
  EtatSVG().DerniereLigneSVG = texte;
}

void TFichierSVG::EcritFinBlocSVG(const std::string& nom) {
  IndentTotal = foundation::ChaineEspaces(2 * std::max(0, NBIndent));
  EcritLigneSVG("</" + nom + ">");
}

void TFichierSVG::EcritSVGHachure(const std::string& texte) {
  if (texte != EtatSVG().DerniereLigneSVG) EcritLigneSVG(texte);
}

void TFichierSVG::EcritCalqueSVG(const std::string& nom) {
  ++NumCalqueSVG;
  NBIndent = 1;
  EcritBlocSVG("g");
  EcritLigneSVG("inkscape:groupmode=\"layer\"");
  EcritLigneSVG("id=\"layer" + std::to_string(NumCalqueSVG) + "\"");
  EcritLigneSVG("inkscape:label=\"" + EchappeSVG(EtatSVG().PrefixeCalque + nom) + "\">");
}

void TFichierSVG::FermeCalqueSVG() {
  NBIndent = 1;
  EcritFinBlocSVG("g");
}

void TFichierSVG::ReprendEtat(const TFichierSVG& autre) {
  Lignes.clear();
  LignesCourantes = &Lignes;
  NBIndent = autre.NBIndent;
  IndentTotal = autre.IndentTotal;
  MargeSVG = autre.MargeSVG;
  AbsMin = autre.AbsMin;
  AbsMax = autre.AbsMax;
  OrdMin = autre.OrdMin;
  OrdMax = autre.OrdMax;
  // The pen and font measures go with the state, so that what the
  // temporary writer assembles is written at the same scale.
  CoeffTraits = autre.CoeffTraits;
  CoeffFontes = autre.CoeffFontes;
}

// --- Formats ---------------------------------------------------------------------------

std::string TFichierSVG::ChiffreSVG(double valeur) const { return foundation::OteBlancs(foundation::ReelEnStr(valeur, 16, 3)); }

std::string TFichierSVG::MesuresStr(double valeur) const {
  return foundation::OteBlancs(foundation::ReelEnStr(valeur * CoeffTraits, 15, 5));
}

std::string TFichierSVG::TailleFonteStr(double valeur) const {
  return foundation::OteBlancs(foundation::ReelEnStr(valeur * CoeffFontes, 15, 5));
}

std::string TFichierSVG::AbsSVG(const foundation::TPointTopo& p) const {
  return ChiffreSVG((foundation::EstDessinAlti() ? p.SlH : p.X) - AbsMin + MargeSVG);
}

std::string TFichierSVG::OrdSVG(const foundation::TPointTopo& p) const {
  return ChiffreSVG(MargeSVG + OrdMax - (foundation::EstDessinAlti() ? p.Z : p.Y));
}

std::string TFichierSVG::PointPolyStr(const foundation::TPointTopo& p) const { return AbsSVG(p) + "," + OrdSVG(p); }

std::string TFichierSVG::CouleurSVG(uint32_t couleur) const {
  const TEtatExportSVG& e = EtatSVG();
  return SortieSVG::CouleurSVG(e.CouleurUnique ? e.CouleurFiligraneSVG : couleur);
}

// --- Patterns used ----------------------------------------------------------------------

void TFichierSVG::MarqueUtilise(const drawing::TObjetMotifdeBase* motif) {
  if (motif) utilises_.insert(motif);
}

bool TFichierSVG::AMotifRemplissage(const drawing::TDefObjetTrait& trait) const { return avecMotif_.count(&trait) != 0; }

void TFichierSVG::AjouteStation(const survey::TPointSpeleo* p) {
  if (p && stationsSVG_.insert(p).second) ListePointsSVG.push_back(p);
}

}  // namespace formats
