// The definitions block: the arrow markers, the textures, the hatch tiles
// and fill patterns of the line styles and fills, and the symbols used by
// the drawing.
#include <array>

#include "drawing/def_symbole.h"
#include "drawing/liste_mtf.h"
#include "drawing/texture.h"
#include "formats/export/svg/fichier_svg.h"
#include "formats/export/svg/polyligne_svg.h"
#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"

namespace formats {

using drawing::TStylePinceau;

namespace {

// The hatch tiles by brush style 2 to 7 (horizontal, vertical, forward and
// backward diagonal, cross, diagonal cross).
const std::array<const char*, 6> kHachures{"hachH", "hachV", "hachFD", "hachBD", "hachCr", "hachDgCr"};

std::string IdHachure(int style, uint32_t couleur) {
  return std::string(kHachures[static_cast<size_t>(style - 2)]) + std::to_string(couleur);
}

// The lines of the four simple tiles, (x1, y1, x2, y2) in a 50-unit tile.
struct Segment {
  int x1, y1, x2, y2;
};
const std::array<std::vector<Segment>, 4> kTuiles{{
    {{0, 25, 50, 25}, {0, 50, 50, 50}},
    {{0, 0, 0, 50}, {25, 0, 25, 50}},
    {{25, 0, 0, 25}, {50, 0, 0, 50}, {50, 25, 25, 50}},
    {{0, 25, 25, 50}, {0, 0, 50, 50}, {25, 0, 50, 25}},
}};

std::string Reel(double v) { return foundation::OteBlancs(foundation::ReelEnStr(v, 15, 5)); }

}  // namespace

void TFichierSVG::EcritMarqueurs(double E) {
  const std::string taille = "markerWidth=\"" + Reel(E * 4 / 1000) + "\" markerHeight=\"" + Reel(E * 2 / 1000) + "\"";
  const auto pointe = [&](const std::string& id, const std::string& chemin) {
    EcritBlocSVG("marker id=\"" + id + "\"");
    EcritLigneSVG("viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\"");
    EcritLigneSVG("markerUnits=\"userSpaceOnUse\"");
    EcritLigneSVG(taille);
    EcritLigneSVG("orient=\"auto\">");
    EcritLigneSVG(chemin);
    EcritFinBlocSVG("marker");
  };
  pointe("PointeFleche", "<path d=\"M 0 0 L 10 5 L 0 10 L 3 5 z\" fill=\"black\"/>");
  pointe("FlecheAjouree", "<path d=\"M 0 0 L 10 5 L 0 10\" fill=\"none\" stroke=\"black\" stroke-width=\"0.5\"/>");
  // The dot is centred on the line's end: its box is centred there too, so
  // that the whole dot shows.
  EcritBlocSVG("marker id=\"FlechePoint\"");
  EcritLigneSVG("viewBox=\"-5 -5 10 10\" refX=\"0\" refY=\"0\"");
  EcritLigneSVG("markerUnits=\"userSpaceOnUse\"");
  EcritLigneSVG("markerWidth=\"" + Reel(E / 1000) + "\" markerHeight=\"" + Reel(E / 1000) + "\"");
  EcritLigneSVG("orient=\"auto\">");
  EcritLigneSVG("<circle cx=\"0\" cy=\"0\" r=\"3\" fill=\"black\"/>");
  EcritFinBlocSVG("marker");
}

void TFichierSVG::EcritDefs(double echelleTextes) {
  // Inside the definitions a point (x, y) is written "x,-y" and pen widths
  // unscaled.
  const int32_t marge = MargeSVG;
  const double coeff = CoeffTraits, absMin = AbsMin, ordMax = OrdMax;
  foundation::GardeTransfo transfo;
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  foundation::ContexteVue& v = foundation::Vue();
  v.Xmin = v.Ymin = v.SLmin = v.Zmin = 0;
  AbsMin = OrdMax = 0;
  MargeSVG = 0;
  CoeffTraits = 1;
  NBIndent = 1;
  EcritBlocSVG("defs>");
  NBIndent = 2;
  EcritMarqueurs(echelleTextes);
  std::unordered_set<std::string> hachures;
  const std::vector<drawing::tListeMtf*> bibliotheques = BibliothequesSVG();
  for (drawing::tListeMtf* b : bibliotheques) EcritBibliotheque(*b, hachures);
  for (drawing::tListeMtf* b : bibliotheques) {
    EcritSymboles(b->ListeSymboles);
    EcritSymboles(b->ListeMotifsSurface);
  }
  NBIndent = 1;
  EcritFinBlocSVG("defs");
  MargeSVG = marge;
  CoeffTraits = coeff;
  AbsMin = absMin;
  OrdMax = ordMax;
}

void TFichierSVG::EcritBibliotheque(const drawing::tListeMtf& b, std::unordered_set<std::string>& hachures) {
  for (int i = 0; i < b.ListeTextures.Count(); ++i)
    if (drawing::tTexture* t = b.ListeTextures.LaTexture(i); t && EstUtilise(t)) t->CreeTextureSVG(*this, i);
  EcritMotifsTraits(b.ListeTraits, hachures);
  EcritMotifsTraits(b.ListeRemplis, hachures);
}

void TFichierSVG::EcritMotifsTraits(const drawing::TListeMotifs& liste, std::unordered_set<std::string>& hachures) {
  // The hatch tiles, each written once in the block.
  for (int i = 0; i < liste.Count(); ++i) {
    const drawing::TDefObjetTrait* t = liste.LeTrait(i);
    if (!t || !EstUtilise(t)) continue;
    const int style = static_cast<int>(t->StylePinceau);
    if (style < 2 || style > 7) continue;
    std::array<bool, 6> noms{};
    noms[static_cast<size_t>(style - 2)] = true;
    if (style == 6) noms[0] = noms[1] = true;
    if (style == 7) noms[2] = noms[3] = true;
    const uint32_t c = t->CouleurPinceau;
    for (int k = 0; k < 6; ++k) {
      const std::string nom = IdHachure(k + 2, c);
      if (!noms[static_cast<size_t>(k)] || !hachures.insert(nom).second) continue;
      EcritBlocSVG("pattern id=\"" + nom + "\" patternUnits=\"userSpaceOnUse\" width=\"50\" height=\"50\" >");
      if (k < 4) {
        for (const Segment& s : kTuiles[static_cast<size_t>(k)])
          EcritLigneSVG("<line x1=\"" + std::to_string(s.x1) + "\" y1=\"" + std::to_string(s.y1) + "\" x2=\"" +
                        std::to_string(s.x2) + "\" y2=\"" + std::to_string(s.y2) + "\" stroke=\"" + CouleurSVG(c) +
                        "\" stroke-width=\"2\" />");
      } else {
        const int a = k == 4 ? 2 : 4;
        for (int j : {a, a + 1})
          EcritLigneSVG("<rect width=\"50\" height=\"50\" fill=\"url(#" + IdHachure(j, c) + ")\" />");
      }
      EcritFinBlocSVG("pattern");
    }
  }
  // The fill patterns: ten metres of ground, the hatch or the brush colour
  // under the texture.
  const std::string rect = "<rect x=\"0\" y=\"0\" width=\"1000\" height=\"1000\" fill=\"";
  for (int i = 0; i < liste.Count(); ++i) {
    const drawing::TDefObjetTrait* t = liste.LeTrait(i);
    if (!t || !EstUtilise(t) || !AMotifRemplissage(*t)) continue;
    EcritBlocSVG("pattern id=\"" + t->NomMotifSVG + "\" patternUnits=\"userSpaceOnUse\"");
    EcritLigneSVG("x=\"0\" y=\"0\" width=\"1000\" height=\"1000\"");
    EcritLigneSVG("viewBox=\"0 0 1000 1000\"");
    EcritLigneSVG("patternTransform =\"scale(0.01)\">");
    const int style = static_cast<int>(t->StylePinceau);
    if (style >= 2 && style <= 7)
      EcritLigneSVG(rect + "url(#" + IdHachure(style, t->CouleurPinceau) + ")\" />");
    else if (t->StylePinceau != TStylePinceau::bsClear)
      EcritLigneSVG(rect + CouleurSVG(t->CouleurPinceau) + "\" />");
    if (t->NumMotif >= 1 && t->UneTexture) EcritLigneSVG(rect + "url(#" + t->UneTexture->NomMotifSVG + ")\" />");
    EcritFinBlocSVG("pattern");
  }
}

void TFichierSVG::EcritSymboles(const drawing::TListeSymboles& liste) {
  for (int i = 0; i < liste.Count(); ++i) {
    const drawing::TDefSymbole* s = dynamic_cast<const drawing::TDefSymbole*>(liste.UnObjet(i));
    if (!s || !EstUtilise(s)) continue;
    // A symbol's elements stand on both sides of its base point: nothing of
    // them is clipped.
    EcritBlocSVG("symbol id=\"" + s->NomMotifSVG + "\" overflow=\"visible\">");
    EcritLigneSVG("<desc> " + EchappeSVG(s->DesignMotif) + " </desc>");
    for (int k = 0; k < s->LesElements.Count(); ++k) {
      const drawing::tElementSymbole* e = s->UnElement(k);
      if (!e || !e->UnTrait) continue;
      TSVGPolyligne ligne(*this, *e->UnTrait, e->UnTrait->estFerme());
      for (int j = 0; j < e->NbPoints(); ++j) {
        const foundation::TPointTopo p = e->LePointEcran(j);
        ligne.AjoutePtXY(p.X - s->PtBase.X, p.Y - s->PtBase.Y);
      }
      ligne.EcritFichier(*this);
    }
    EcritFinBlocSVG("symbol");
  }
}

}  // namespace formats
