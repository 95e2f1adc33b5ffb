#include "formats/import/points/import_points_surface.h"

#include <pugixml.hpp>

#include <algorithm>
#include <numbers>
#include <unordered_map>

#include "formats/import/points/selection_points_import.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "projections/services.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TListedePoints;
using survey::TPointSpeleo;

namespace {

constexpr double DegresVersRadians = std::numbers::pi / 180.0;

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// Characters up to U+0020 removed at both ends.
std::string Rogne(std::string_view s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
  return std::string(s.substr(a, b - a));
}

// The leading part of a field that reads as a number: sign, digits, a
// decimal point and digits, an exponent.
double PartieNumerique(const std::string& champ) {
  size_t i = 0;
  const size_t n = champ.size();
  if (i < n && (champ[i] == '+' || champ[i] == '-')) ++i;
  const size_t debutChiffres = i;
  while (i < n && EstChiffre(champ[i])) ++i;
  size_t fin = i;
  if (i < n && champ[i] == '.') {
    ++i;
    while (i < n && EstChiffre(champ[i])) ++i;
    if (i > debutChiffres + 1) fin = i;
  }
  if (fin > debutChiffres && fin < n && (champ[fin] == 'e' || champ[fin] == 'E')) {
    size_t j = fin + 1;
    if (j < n && (champ[j] == '+' || champ[j] == '-')) ++j;
    const size_t debutExposant = j;
    while (j < n && EstChiffre(champ[j])) ++j;
    if (j > debutExposant) fin = j;
  }
  double v = 0;
  if (fin == 0 || !foundation::LitReel(champ.substr(0, fin), v)) return 0;
  return v;
}

// The local name of an element (without its namespace prefix).
std::string_view NomLocal(const pugi::xml_node& n) {
  std::string_view nom = n.name();
  const size_t p = nom.find(':');
  return p == std::string_view::npos ? nom : nom.substr(p + 1);
}

std::string Enfant(const pugi::xml_node& wpt, std::string_view nom) {
  for (pugi::xml_node e = wpt.first_child(); e; e = e.next_sibling())
    if (e.type() == pugi::node_element && NomLocal(e) == nom) return e.child_value();
  return {};
}

std::string ChercheExtension(const std::string& chemin) {
  return foundation::EnMinuscules(platform::ExtensionOf(chemin));
}

}  // namespace

std::vector<std::string> LignesFichierPoints(std::string_view octets) {
  return foundation::DecoupeLignes(foundation::TexteDetecte(octets));
}

namespace {

// ExtraitCoordonnee, the field's text as the line gives it in texte.
bool ExtraitCoordonneeTexte(std::string& reste, char separateur, double& valeur, std::string& texte) {
  reste = foundation::OteBlancs(reste);
  valeur = 0;
  texte.clear();
  if (reste.empty()) return false;
  texte = foundation::ExtraitChamp(reste, separateur);
  const std::string champ = foundation::NettoieNombre(texte);
  if (!foundation::LitReel(champ, valeur)) valeur = PartieNumerique(champ);
  return true;
}

// LitLignePoint, with the texts of the name, X, Y and Z fields.
std::unique_ptr<TPointSpeleo> LigneEnPoint(std::string_view ligneLue, std::vector<std::string>& textes) {
  textes.assign(4, std::string());
  std::string ligne = Rogne(ligneLue);
  // Decimal commas.
  for (size_t i = 1; i + 1 < ligne.size(); ++i)
    if (ligne[i] == ',' && EstChiffre(ligne[i - 1]) && EstChiffre(ligne[i + 1])) ligne[i] = '.';
  char separateur = 0;
  for (char c : {'\t', '|', ';', ' '})
    if (ligne.find(c) != std::string::npos) {
      separateur = c;
      break;
    }
  if (!separateur) return nullptr;
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = Rogne(foundation::ExtraitChamp(ligne, separateur));
  textes[0] = p->DesignPTopo;
  if (!ExtraitCoordonneeTexte(ligne, separateur, p->X, textes[1])) return nullptr;
  if (!ExtraitCoordonneeTexte(ligne, separateur, p->Y, textes[2])) return nullptr;
  ExtraitCoordonneeTexte(ligne, separateur, p->Z, textes[3]);
  p->Commentaire.push_back(Rogne(ligne));
  return p;
}

// The line (from 1) of a node of the document read from those bytes.
size_t LigneNoeud(std::string_view octets, const pugi::xml_node& n) {
  const ptrdiff_t decalage = n.offset_debug();
  if (decalage < 0) return 0;
  const size_t fin = std::min(static_cast<size_t>(decalage), octets.size());
  return 1 + static_cast<size_t>(std::count(octets.begin(), octets.begin() + static_cast<ptrdiff_t>(fin), '\n'));
}

}  // namespace

bool ExtraitCoordonnee(std::string& reste, char separateur, double& valeur) {
  std::string texte;
  return ExtraitCoordonneeTexte(reste, separateur, valeur, texte);
}

std::unique_ptr<TPointSpeleo> LitLignePoint(std::string_view ligneLue) {
  std::vector<std::string> textes;
  return LigneEnPoint(ligneLue, textes);
}

std::vector<std::string> ChampsLignePoint(std::string_view ligne) {
  std::vector<std::string> textes;
  LigneEnPoint(ligne, textes);
  return textes;
}

int LitPointsTexte(const std::vector<std::string>& lignes, TListedePoints& points, RefusPoint* refus,
                   std::vector<size_t>* lignesLues) {
  int n = 0;
  std::vector<std::string> textes;
  for (size_t k = 0; k < lignes.size(); ++k) {
    auto p = LigneEnPoint(lignes[k], textes);
    if (!p) continue;
    // The unit (metres, kilometres, degrees) is chosen later: the grid's
    // bounds hold for all of them.
    if (const ChampLecture champ = PointImpossible(p->X, p->Y, p->Z); champ != ChampLecture::Aucun) {
      const size_t rang = champ == ChampLecture::CoordX ? 1 : champ == ChampLecture::CoordY ? 2 : 3;
      if (refus) *refus = {k + 1, champ, textes[rang]};
      break;
    }
    points.Add(std::move(p));
    if (lignesLues) lignesLues->push_back(k + 1);
    ++n;
  }
  return n;
}

bool LitPointsGpx(std::string_view octets, TListedePoints& points, const std::string& projection, int32_t fuseau,
                  RefusPoint* refus) {
  pugi::xml_document doc;
  const pugi::xml_parse_result r = doc.load_buffer(octets.data(), octets.size(), pugi::parse_default, pugi::encoding_auto);
  if (!r) return false;
  std::vector<std::unique_ptr<TPointSpeleo>> lus;
  // Every waypoint, wherever it stands (a waypoint holds none).
  std::vector<pugi::xml_node> pile{doc.document_element()};
  while (!pile.empty()) {
    const pugi::xml_node n = pile.back();
    pile.pop_back();
    if (!n) continue;
    if (NomLocal(n) == "wpt") {
      auto p = std::make_unique<TPointSpeleo>();
      const double lat = foundation::TexteEnReel(n.attribute("lat").value());
      const double lon = foundation::TexteEnReel(n.attribute("lon").value());
      p->DesignPTopo = Enfant(n, "name");
      p->Commentaire.push_back(Enfant(n, "cmt"));
      p->Z = foundation::TexteEnReel(Enfant(n, "ele"));
      // A position no GPS gives stops the reading: nothing is appended.
      if (const ChampLecture champ = PositionImpossible(lat, lon, p->Z); champ != ChampLecture::Aucun) {
        if (refus) {
          pugi::xml_node ele;
          for (pugi::xml_node e = n.first_child(); e && !ele; e = e.next_sibling())
            if (e.type() == pugi::node_element && NomLocal(e) == "ele") ele = e;
          const bool altitude = champ == ChampLecture::Altitude;
          *refus = {LigneNoeud(octets, altitude && ele ? ele : n), champ,
                    altitude ? Enfant(n, "ele") : n.attribute(champ == ChampLecture::Latitude ? "lat" : "lon").value()};
        }
        return false;
      }
      p->X = lon;
      p->Y = lat;
      if (!projection.empty()) {
        int32_t z = fuseau;
        double x = 0, y = 0;
        if (projections::DatumVersGrille("WGS84", projection, lat * DegresVersRadians, lon * DegresVersRadians, x, y,
                                         z) == projections::CodeFait) {
          p->X = x;
          p->Y = y;
        }
      }
      lus.push_back(std::move(p));
      continue;
    }
    // Children in reverse so that the file's order is kept.
    std::vector<pugi::xml_node> enfants;
    for (pugi::xml_node e = n.first_child(); e; e = e.next_sibling())
      if (e.type() == pugi::node_element) enfants.push_back(e);
    for (auto it = enfants.rbegin(); it != enfants.rend(); ++it) pile.push_back(*it);
  }
  for (auto& p : lus) points.Add(std::move(p));
  return true;
}

std::string MessageGpxIllisible(const std::string& chemin, std::string_view octets) {
  pugi::xml_document doc;
  const pugi::xml_parse_result r = doc.load_buffer(octets.data(), octets.size(), pugi::parse_default, pugi::encoding_auto);
  if (r) return {};
  IdMsg raison = IdMsg::GpxErreurInterne;
  switch (r.status) {
    case pugi::status_unrecognized_tag: raison = IdMsg::GpxBaliseInconnue; break;
    case pugi::status_bad_pi: raison = IdMsg::GpxInstructionMalFormee; break;
    case pugi::status_bad_comment: raison = IdMsg::GpxCommentaireMalForme; break;
    case pugi::status_bad_cdata: raison = IdMsg::GpxCDataMalFormee; break;
    case pugi::status_bad_doctype: raison = IdMsg::GpxDoctypeMalForme; break;
    case pugi::status_bad_pcdata: raison = IdMsg::GpxTexteMalForme; break;
    case pugi::status_bad_start_element: raison = IdMsg::GpxBaliseOuvranteMalFormee; break;
    case pugi::status_bad_attribute: raison = IdMsg::GpxAttributMalForme; break;
    case pugi::status_bad_end_element: raison = IdMsg::GpxBaliseFermanteMalFormee; break;
    case pugi::status_end_element_mismatch: raison = IdMsg::GpxBalisesNonAppariees; break;
    case pugi::status_no_document_element: raison = IdMsg::GpxAucunElement; break;
    case pugi::status_out_of_memory: raison = IdMsg::GpxMemoireInsuffisante; break;
    default: break;
  }
  // The parser's offset counts the bytes of its UTF-8 form of the document:
  // the line is counted in that form.
  std::string texte;
  switch (r.encoding) {
    case pugi::encoding_latin1: texte = foundation::DepuisLatin1(octets); break;
    case pugi::encoding_utf16_le: texte = foundation::DepuisUtf16(octets, false); break;
    case pugi::encoding_utf16_be: texte = foundation::DepuisUtf16(octets, true); break;
    default: texte = std::string(octets); break;
  }
  const auto fin = static_cast<size_t>(std::clamp<ptrdiff_t>(r.offset, 0, static_cast<ptrdiff_t>(texte.size())));
  const auto ligne = 1 + std::count(texte.begin(), texte.begin() + static_cast<ptrdiff_t>(fin), '\n');
  return foundation::RemplaceMarques(Msg(IdMsg::ImportGpxMalForme), {chemin, std::to_string(ligne), Msg(raison)});
}

bool ImportePointsSurface(const std::string& chemin, survey::TReseau& reseau) {
  auto& dialogues = platform::Dialogs::Current();
  auto impossible = [&] {
    dialogues.ShowMessage(platform::MessageKind::Error, Msg(IdMsg::ImportImpossibleOuvrir) + chemin);
    return false;
  };
  reseau.CreeCaviteSurface();
  TListedePoints* surface = reseau.LesPointsSurface();
  if (!surface) return impossible();
  std::string octets;
  if (!platform::ReadFile(chemin, octets)) return impossible();
  const bool gpx = ChercheExtension(chemin) == ".gpx";
  TListedePoints lus(true);
  // A coordinate no instrument gives: its message, nothing added.
  RefusPoint refus;
  auto refuse = [&] {
    dialogues.ShowMessage(platform::MessageKind::Error,
                          MessageLectureImpossible(platform::FileNameOf(chemin), refus.Ligne, refus.Champ, refus.Texte));
    return false;
  };
  std::vector<std::string> lignes;
  std::unordered_map<const TPointSpeleo*, size_t> ligneDe;
  if (gpx) {
    if (!LitPointsGpx(octets, lus, reseau.Projection, reseau.NumFuseau, &refus)) {
      if (refus.Champ != ChampLecture::Aucun) return refuse();
      const std::string message = MessageGpxIllisible(chemin, octets);
      if (message.empty()) return impossible();
      dialogues.ShowMessage(platform::MessageKind::Error, message);
      return false;
    }
  } else {
    lignes = LignesFichierPoints(octets);
    std::vector<size_t> lignesLues;
    LitPointsTexte(lignes, lus, &refus, &lignesLues);
    if (refus.Champ != ChampLecture::Aucun) return refuse();
    for (int i = 0; i < lus.Count(); ++i) ligneDe.emplace(lus.UnPoint(i), lignesLues[static_cast<size_t>(i)]);
  }
  const std::string aucun = foundation::RemplaceMarques(Msg(IdMsg::ImportPointsAucunPoint), {chemin});
  if (lus.Vide()) {
    dialogues.ShowMessage(platform::MessageKind::Warning, aucun);
    return false;
  }
  TSelectImportDlg dlg;
  dlg.Init(lus, !gpx);
  dlg.ProjecReseau = reseau.Projection;
  dlg.FuseauReseau = reseau.NumFuseau;
  dlg.Project = reseau.Projection;
  dlg.NFuseau = reseau.NumFuseau;
  if (!dlg.Execute()) return false;
  if (lus.Vide()) {
    dialogues.ShowMessage(platform::MessageKind::Warning, aucun);
    return false;
  }
  // Points said to be WGS 84 hold a longitude and a latitude.
  if (dlg.EstWGS)
    for (const TPointSpeleo* p : lus)
      if (const ChampLecture champ = PositionImpossible(p->Y, p->X, p->Z); champ != ChampLecture::Aucun) {
        const auto it = ligneDe.find(p);
        refus.Ligne = it == ligneDe.end() ? 0 : it->second;
        refus.Champ = champ;
        const std::vector<std::string> textes = refus.Ligne > 0 && refus.Ligne <= lignes.size()
                                                    ? ChampsLignePoint(lignes[refus.Ligne - 1])
                                                    : std::vector<std::string>(4);
        refus.Texte = textes[champ == ChampLecture::Longitude ? 1 : champ == ChampLecture::Latitude ? 2 : 3];
        return refuse();
      }
  // Into the network's system, each point once: geographic coordinates
  // straight to its grid, others from the stated system, unit and zone.
  for (TPointSpeleo* p : lus) {
    if (dlg.EstWGS) {
      int32_t z = reseau.NumFuseau;
      double x = 0, y = 0;
      if (reseau.Projection.empty() ||
          projections::DatumVersGrille("WGS84", reseau.Projection, p->Y * DegresVersRadians, p->X * DegresVersRadians,
                                       x, y, z) != projections::CodeFait)
        return impossible();
      p->X = x;
      p->Y = y;
    } else {
      foundation::TPointTopo t;
      t.X = p->X;
      t.Y = p->Y;
      reseau.TransformePointTopo(dlg.EnKm, dlg.Project, t, dlg.NFuseau);
      p->X = t.X;
      p->Y = t.Y;
    }
  }
  // From the last point to the first: a name already among the surface
  // points updates the first point of that name, otherwise the point is
  // appended.  A name twice in the file is thus added from its last
  // occurrence and updated by the earlier one.
  std::unordered_map<std::string, TPointSpeleo*> parNom;
  for (TPointSpeleo* s : *surface) parNom.emplace(s->DesignPTopo, s);
  int ajoutes = 0;
  for (int i = lus.Count() - 1; i >= 0; --i) {
    std::unique_ptr<TPointSpeleo> p(lus.Extrait(i));
    const auto it = parNom.find(p->DesignPTopo);
    if (it != parNom.end()) {
      TPointSpeleo* s = it->second;
      s->X = p->X;
      s->Y = p->Y;
      s->Z = p->Z;
      s->Commentaire = p->Commentaire;
      continue;
    }
    p->TypePoint = survey::PointSurface;
    TPointSpeleo* ajoute = surface->Add(std::move(p));
    parNom.emplace(ajoute->DesignPTopo, ajoute);
    ++ajoutes;
  }
  survey::TPointsSurface(*surface).TrieListe();
  survey::Document().DocumentModifie = true;
  if (survey::TCavite* c = reseau.UneCavite(0)) c->ReGenereListePoints(false);
  return ajoutes > 0;
}

bool ImportePointsSurface(const std::string& chemin) {
  survey::TReseau* reseau = survey::Document().ReseauCourant;
  if (!reseau) return false;
  return ImportePointsSurface(chemin, *reseau);
}

}  // namespace formats
