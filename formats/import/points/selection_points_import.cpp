#include "formats/import/points/selection_points_import.h"

#include <unordered_set>

#include "formats/import/galeries_import.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

void TSelectImportDlg::InitCommun(survey::TListedePoints& points) {
  Points = &points;
  ProjecReseau.clear();
  FuseauReseau = 0;
  if (const survey::TReseau* r = survey::Document().ReseauCourant) {
    ProjecReseau = r->Projection;
    FuseauReseau = r->NumFuseau;
  }
  TypeCoord = TypeCoordonnees::ProjectionReseau;
  Project = ProjecReseau;
  NFuseau = FuseauReseau;
  EstWGS = false;
  EnKm = false;
  Selecte.clear();
  coches_.assign(static_cast<size_t>(points.Count()), true);
}

void TSelectImportDlg::Init(survey::TListedePoints& points) {
  modeComplet_ = false;
  afficherTypeCoord_ = false;
  InitCommun(points);
}

void TSelectImportDlg::Init(survey::TListedePoints& points, bool afficherTypeCoord) {
  modeComplet_ = true;
  afficherTypeCoord_ = afficherTypeCoord;
  InitCommun(points);
}

bool TSelectImportDlg::Cochee(int ligne) const {
  return ligne >= 0 && ligne < NombreLignes() && coches_[static_cast<size_t>(ligne)];
}

void TSelectImportDlg::Coche(int ligne, bool cochee) {
  if (ligne >= 0 && ligne < NombreLignes()) coches_[static_cast<size_t>(ligne)] = cochee;
}

void TSelectImportDlg::Tous() { coches_.assign(coches_.size(), true); }
void TSelectImportDlg::Aucun() { coches_.assign(coches_.size(), false); }

void TSelectImportDlg::Rafraichit() {
  if (Points) coches_.resize(static_cast<size_t>(Points->Count()), true);
}

int TSelectImportDlg::Decimales() const {
  if (PanneauTypeCoord() && EstWGS) return 8;
  if (PanneauTypeCoord() && EnKm) return 3;
  return survey::Affichage().DecimalesCoord;
}

int TSelectImportDlg::DecimalesZ() const { return survey::Affichage().DecimalesCoord; }

std::string TSelectImportDlg::TexteNom(int ligne) const {
  const survey::TPointSpeleo* p = Points ? Points->Item(ligne) : nullptr;
  return p ? p->DesignPTopo : std::string();
}

std::string TSelectImportDlg::TexteX(int ligne) const {
  const survey::TPointSpeleo* p = Points ? Points->Item(ligne) : nullptr;
  return p ? foundation::ReelEnStrFixe(p->X, 12, Decimales()) : std::string();
}

std::string TSelectImportDlg::TexteY(int ligne) const {
  const survey::TPointSpeleo* p = Points ? Points->Item(ligne) : nullptr;
  return p ? foundation::ReelEnStrFixe(p->Y, 12, Decimales()) : std::string();
}

std::string TSelectImportDlg::TexteZ(int ligne) const {
  const survey::TPointSpeleo* p = Points ? Points->Item(ligne) : nullptr;
  return p ? foundation::ReelEnStrFixe(p->Z, 9, DecimalesZ()) : std::string();
}

std::string TSelectImportDlg::TexteNotes(int ligne) const {
  const survey::TPointSpeleo* p = Points ? Points->Item(ligne) : nullptr;
  return p ? p->Commentaire.Texte() : std::string();
}

std::string TSelectImportDlg::TitreX() const {
  return Msg(PanneauTypeCoord() && EstWGS ? IdMsg::SelectImportTitreLat : IdMsg::SelectImportTitreX);
}

std::string TSelectImportDlg::TitreY() const {
  return Msg(PanneauTypeCoord() && EstWGS ? IdMsg::SelectImportTitreLong : IdMsg::SelectImportTitreY);
}

bool TSelectImportDlg::NotesVisibles() const {
  return PanneauTypeCoord() && TypeCoord == TypeCoordonnees::AutreProjection &&
         (EstWGS || Project != ProjecReseau || NFuseau != FuseauReseau);
}

bool TSelectImportDlg::Ferme(bool ok) {
  if (!ok || !Points) return false;
  Rafraichit();
  if (!PanneauTypeCoord()) {
    // Without the frame the points are stated in the network's own system.
    TypeCoord = TypeCoordonnees::ProjectionReseau;
    Project = ProjecReseau;
    NFuseau = FuseauReseau;
    EstWGS = false;
    EnKm = false;
  } else if (TypeCoord != TypeCoordonnees::AutreProjection) {
    Project = TypeCoord == TypeCoordonnees::Independantes ? std::string() : ProjecReseau;
    NFuseau = TypeCoord == TypeCoordonnees::Independantes ? 0 : FuseauReseau;
    EstWGS = false;
  }
  if (!modeComplet_) {
    Selecte = coches_;
    return true;
  }
  // The unchecked points go, in one pass.
  std::unordered_set<const survey::TPointSpeleo*> retires;
  for (int i = 0; i < NombreLignes(); ++i)
    if (!coches_[static_cast<size_t>(i)]) retires.insert(Points->Item(i));
  if (!retires.empty()) Points->SupprimeSi([&](const survey::TPointSpeleo* p) { return retires.count(p) > 0; });
  coches_.assign(static_cast<size_t>(Points->Count()), true);
  return true;
}

bool TSelectImportDlg::Execute() {
  const auto& fenetre = FenetresImport().AfficheSelectImport;
  const bool ok = fenetre ? fenetre(*this) : true;
  return Ferme(ok);
}

}  // namespace formats
