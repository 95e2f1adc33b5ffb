#include "formats/export/gpx/export_gpx.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/transformation_vue.h"
#include "platform/dialogs.h"
#include "projections/services.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

namespace {

constexpr double DegresParRadian = 57.295779513082320877;

std::string Attribut(const std::string& nom, const std::string& valeur) { return nom + "=\"" + valeur + "\""; }

// A character outside Latin-1 as a numeric character reference.
std::string Reference(char32_t c) { return "&#" + std::to_string(static_cast<uint32_t>(c)) + ";"; }

// The shots touching a station: the network's walk takes the arriving shot
// out of a cave station's shot list, so it is counted back.
size_t NombreVisees(const survey::TPointSpeleo& p) {
  const bool arriveeHorsListe =
      p.ViseeAvant && std::find(p.LstVis.begin(), p.LstVis.end(), p.ViseeAvant) == p.LstVis.end();
  return p.LstVis.size() + (arriveeHorsListe ? 1 : 0);
}

}  // namespace

std::string EchappeXml(const std::string& texte) {
  std::string r;
  r.reserve(texte.size());
  size_t i = 0;
  while (i < texte.size()) {
    const size_t debut = i;
    const char32_t c = foundation::LitCaractere(texte, i);
    switch (c) {
      case U'&': r += "&amp;"; break;
      case U'<': r += "&lt;"; break;
      case U'>': r += "&gt;"; break;
      case U'"': r += "&quot;"; break;
      case U'\'': r += "&apos;"; break;
      default:
        if (c > 0xFF)
          r += Reference(c);
        else
          r.append(texte, debut, i - debut);
    }
  }
  return r;
}

std::string TexteCData(const std::string& texte) {
  if (texte.find_first_of("<>&") == std::string::npos) return EchappeXml(texte);
  std::string r = "<![CDATA[ ";
  size_t i = 0;
  while (i < texte.size()) {
    const size_t debut = i;
    if (texte.compare(i, 3, "]]>") == 0) {
      // The end marker cannot stand inside a section: its '>' opens the next.
      r += "]]]]><![CDATA[>";
      i += 3;
      continue;
    }
    const char32_t c = foundation::LitCaractere(texte, i);
    if (c > 0xFF)
      r += "]]>" + Reference(c) + "<![CDATA[";
    else
      r.append(texte, debut, i - debut);
  }
  return r + " ]]>";
}

std::string BaliseTexte(const std::string& nom, const std::string& texte) {
  return "<" + nom + ">" + texte + "</" + nom + ">";
}

std::string BaliseAttributs(const std::string& nom, const std::string& texte) {
  return "<" + nom + texte + "</" + nom + ">";
}

std::string ReelGpx(double x) {
  char tampon[64];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::general, 15);
  std::string s(tampon, r.ptr);
  if (s.find('e') == std::string::npos) return s;
  // Very small or very large values: fixed notation, trailing zeros dropped.
  s = foundation::ReelEnTexteFixe(x, 15);
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

// --- The XML writer ---------------------------------------------------------------

void TFichierXml::DebutBalise(const std::string& nom) {
  TexteBalise("<" + nom + ">");
  DerBalises.push_back(nom);
}

void TFichierXml::FinBalise() {
  if (DerBalises.empty()) return;
  const std::string nom = DerBalises.back();
  DerBalises.pop_back();
  TexteBalise("</" + nom + ">");
}

void TFichierXml::TexteBalise(const std::string& texte) {
  // Deep nesting (a chain of thousands of galleries each hanging on the
  // previous one) would make the blanks outweigh the file: the indent stops
  // growing past a depth no reader of the file needs to see.
  const size_t profondeur = std::min<size_t>(DerBalises.size(), ProfondeurIndentMax);
  AjouteLigne(std::string(2 * profondeur, ' ') + texte);
}

// --- The GPX writer ---------------------------------------------------------------

std::string TFichierGPX::PointPolyStr(const survey::TPointSpeleo& point) {
  foundation::TPointTopo p;
  p.X = point.X;
  p.Y = point.Y;
  p.Z = point.Z;
  if (!std::isfinite(point.X) || !std::isfinite(point.Y) || !std::isfinite(point.Z) ||
      !projections::PtTopoVersWGS84(p, Reseau.Projection, Reseau.NumFuseau))
    return std::string();
  return " " + Attribut("lat", ReelGpx(p.LatPt * DegresParRadian)) + " " +
         Attribut("lon", ReelGpx(p.LongPt * DegresParRadian)) + ">" + BaliseTexte("ele", ReelGpx(point.Z));
}

std::string TFichierGPX::ExtremStr(const std::string& prefixe, double X, double Y) {
  foundation::TPointTopo p = foundation::PtTopoXY(X, Y);
  if (!std::isfinite(X) || !std::isfinite(Y) || !projections::PtTopoVersWGS84(p, Reseau.Projection, Reseau.NumFuseau))
    return std::string();
  return " " + Attribut(prefixe + "lat", ReelGpx(p.LatPt * DegresParRadian)) + " " +
         Attribut(prefixe + "lon", ReelGpx(p.LongPt * DegresParRadian));
}

void TFichierGPX::EcritPointSurface(const survey::TPointSpeleo& point) {
  const std::string position = PointPolyStr(point);
  if (position.empty()) {
    ++NonConvertis;
    return;
  }
  std::string texte = position + BaliseTexte("name", TexteCData(point.DesignPTopo));
  if (!point.Commentaire.empty()) {
    std::string commentaire;
    for (const std::string& l : point.Commentaire) commentaire += (commentaire.empty() ? "" : " ") + l;
    texte += BaliseTexte("cmt", TexteCData(commentaire));
  }
  TexteBalise(BaliseAttributs("wpt", texte));
}

void TFichierGPX::EcritPointTrace(const survey::TPointSpeleo& point) {
  const std::string position = PointPolyStr(point);
  if (position.empty()) {
    ++NonConvertis;
    return;
  }
  TexteBalise(BaliseAttributs("trkpt", position));
}

// --- The track of a cave ----------------------------------------------------------

void CreePolylignesGpx(const survey::TCavite& cavite, std::vector<std::unique_ptr<TGPXPolyligne>>& polylignes) {
  polylignes.clear();
  polylignes.push_back(std::make_unique<TGPXPolyligne>());
  const auto& liste = cavite.ListePoints;
  for (int i = liste.Count() - 1; i >= 0; --i) {
    survey::TPointSpeleo* point = liste.Item(i);
    if (!point || !point->ViseeAvant) continue;
    polylignes.back()->Points.push_back(point);
    survey::TPointSpeleo* origine = point->ViseeAvant->PtOrigCalc;
    if (origine && NombreVisees(*origine) > 1) {
      polylignes.back()->Points.push_back(origine);
      polylignes.push_back(std::make_unique<TGPXPolyligne>());
    }
  }
  std::erase_if(polylignes, [](const std::unique_ptr<TGPXPolyligne>& p) { return p->Points.empty(); });
  // The pieces ending at each station, in list order: the daughters of the
  // later piece that starts there.
  std::unordered_map<const survey::TPointSpeleo*, std::vector<size_t>> finissantA;
  for (size_t j = 0; j < polylignes.size(); ++j) finissantA[polylignes[j]->Points.back()].push_back(j);
  for (size_t i = polylignes.size(); i-- > 0;) {
    const auto it = finissantA.find(polylignes[i]->Points.front());
    if (it == finissantA.end()) continue;
    for (size_t j : it->second) {
      if (j >= i) break;
      polylignes[i]->Filles.push_back(polylignes[j].get());
    }
  }
}

void EcritPolyligneGpx(TFichierGPX& fichier, const TGPXPolyligne& racine) {
  ParcourtPolylignesGpx(racine, [&](const survey::TPointSpeleo& p) { fichier.EcritPointTrace(p); });
}

void ParcourtPolylignesGpx(const TGPXPolyligne& racine, const std::function<void(const survey::TPointSpeleo&)>& visite) {
  struct Etape {
    const TGPXPolyligne* ligne;
    size_t fille;
  };
  std::unordered_set<const TGPXPolyligne*> vues{&racine};
  std::vector<Etape> pile;
  auto entre = [&](const TGPXPolyligne& p) {
    for (size_t k = p.Points.size(); k-- > 0;) visite(*p.Points[k]);
    pile.push_back({&p, 0});
  };
  entre(racine);
  while (!pile.empty()) {
    Etape& e = pile.back();
    if (e.fille < e.ligne->Filles.size()) {
      const TGPXPolyligne* f = e.ligne->Filles[e.fille++];
      if (vues.insert(f).second) entre(*f);
      continue;
    }
    for (survey::TPointSpeleo* p : e.ligne->Points) visite(*p);
    pile.pop_back();
  }
}

// --- The file -----------------------------------------------------------------------

void ConstruitGpx(survey::TReseau& reseau, bool pointsSurface, TFichierGPX& fichier) {
  if (reseau.NombreCavites() > 0) reseau.CalculeReseau();
  const foundation::ContexteVue& vue = foundation::Vue();
  fichier.AjouteLigne("<?xml " + Attribut("version", "1.0") + " " + Attribut("encoding", "ISO-8859-1") + "?>");
  fichier.AjouteLigne("<gpx " + Attribut("version", "1.0"));
  fichier.AjouteLigne(Attribut("creator", "Gravelune https://gravelune.org"));
  fichier.AjouteLigne(Attribut("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance"));
  fichier.AjouteLigne(Attribut("xmlns", "http://www.topografix.com/GPX/1/0"));
  fichier.AjouteLigne(
      Attribut("xsi:schemaLocation", "http://www.topografix.com/GPX/1/0 http://www.topografix.com/GPX/1/0/gpx.xsd") +
      "> ");
  const std::string min = fichier.ExtremStr("min", vue.Xmin, vue.Ymin);
  const std::string max = fichier.ExtremStr("max", vue.Xmax, vue.Ymax);
  if (!min.empty() && !max.empty())
    fichier.AjouteLigne("<bounds" + min + max + "/>");
  else
    fichier.NonConvertis += 2;
  if (pointsSurface)
    if (const survey::TListedePoints* surface = reseau.LesPointsSurface())
      for (int i = 0; i < surface->Count(); ++i)
        if (const survey::TPointSpeleo* p = surface->Item(i)) fichier.EcritPointSurface(*p);
  std::vector<std::unique_ptr<TGPXPolyligne>> polylignes;
  for (int i = 0; i < reseau.NombreCavites(); ++i) {
    const survey::TCavite* c = reseau.UneCavite(i);
    if (!c || c->EstSurface) continue;
    fichier.DebutBalise("trk");
    fichier.TexteBalise(BaliseTexte("name", TexteCData(c->NomCavite)));
    fichier.DebutBalise("trkseg");
    CreePolylignesGpx(*c, polylignes);
    if (!polylignes.empty()) EcritPolyligneGpx(fichier, *polylignes.back());
    fichier.FinBalise();
    fichier.FinBalise();
  }
  fichier.AjouteLigne("</gpx>");
}

bool GenereFichierGpx(survey::TReseau& reseau, bool pointsSurface) {
  TFichierGPX fichier(reseau);
  ConstruitGpx(reseau, pointsSurface, fichier);
  if (fichier.NonConvertis > 0)
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Warning,
        std::to_string(fichier.NonConvertis) +
            " point(s) n'ont pu être convertis en WGS84 et ne figurent pas dans le fichier GPX.");
  return fichier.EnregistreAutre(reseau.NomReseau(), "gpx", survey::Encodage::Latin1, "gpx");
}

}  // namespace formats
