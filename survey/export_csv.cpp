// The tab-separated export of a cave and the adjustment lines it carries.
#include <numbers>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"

using foundation::IdMsg;
using foundation::Msg;

namespace survey {

namespace {

constexpr size_t ColonnesCsv = 24;

// A field as a spreadsheet reads it back: quoted, its quotes doubled, when it
// holds a tab, a line break or a double quote.
std::string ChampCsv(const std::string& t) {
  if (t.find_first_of("\t\r\n\"") == std::string::npos) return t;
  std::string r = "\"";
  for (char c : t) {
    if (c == '"') r += '"';
    r += c;
  }
  return r + "\"";
}

std::string LigneCsv(const std::vector<std::string>& champs) {
  std::string l;
  for (size_t i = 0; i < champs.size(); ++i) {
    if (i) l += '\t';
    l += ChampCsv(champs[i]);
  }
  return l;
}

// A line built by another routine with its fields already separated by tabs:
// each field is quoted when it must be.
std::string LigneCsvTabulee(const std::string& ligne) {
  std::vector<std::string> champs;
  size_t debut = 0;
  for (;;) {
    const size_t tab = ligne.find('\t', debut);
    champs.push_back(ligne.substr(debut, tab == std::string::npos ? std::string::npos : tab - debut));
    if (tab == std::string::npos) break;
    debut = tab + 1;
  }
  return LigneCsv(champs);
}

// A comment as one field: its lines joined by CR LF, without a trailing break.
std::string CommentaireCsv(const foundation::TMesStringList& lignes) {
  std::string t;
  for (size_t i = 0; i < lignes.size(); ++i) {
    if (i) t += "\r\n";
    t += lignes[i];
  }
  return t;
}

// The 24 fields of a shot or splay row: the exclusion mark, then its texts.
std::string LigneVisee(TValeurVisee& v, const std::string& marque, const foundation::TMesStringList& commentaire) {
  v.CreeValeursTxt();
  static const size_t ordre[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16, 18, 19, 20, 21, 9, 10, 11, 12, 22};
  std::vector<std::string> champs;
  champs.reserve(ColonnesCsv);
  champs.push_back(marque);
  for (size_t i : ordre) champs.push_back(v.ValeursTxt[i]);
  champs.push_back(CommentaireCsv(commentaire));
  return LigneCsv(champs);
}

std::string Reel(double x, int largeur, int decimales) {
  return foundation::OteBlancs(foundation::ReelEnStr(x, largeur, decimales));
}

std::string PointEtGalerie(const TPointSpeleo* p) {
  if (!p) return {};
  if (p->EstPointSurface()) return Msg(IdMsg::ExportCompensSurface) + p->DesignPTopo;
  return p->DesignPTopo + " / " + NomGalerieDuPoint(p);
}

}  // namespace

void AjouteLignesCompensations(const TReseau& reseau, const TCavite* cavite, std::vector<std::string>& lignes) {
  bool premiere = true;
  for (const TCompens* a : reseau.Compensations) {
    if (!a || a->EstEntreeScnd || !cavite || a->TheCavite() != cavite) continue;
    if (premiere) lignes.push_back(Msg(IdMsg::ExportCompensationsUtilisees));
    premiere = false;
    std::string l = Msg(IdMsg::ExportCompensPointDebut) + "\t" + PointEtGalerie(a->PtDebut);
    l += "\t" + Msg(IdMsg::ExportCompensPointFin) + "\t" + (a->PtFin ? a->PtFin->DesignPTopo + " / " + NomGalerieDuPoint(a->PtFin) : std::string());
    l += "\t" + Msg(IdMsg::ExportCompensPointSurface) + "\t" + (a->PtJuste ? a->PtJuste->DesignPTopo : std::string());
    l += "\t" + NomTypeCompens(a->typeCompens);
    const TValeurCompens* v = a->Valeur.get();
    const double coeffLong = v ? static_cast<double>(v->CoeffLong) : 1;
    const double angle = v ? static_cast<double>(v->CorrectAngle) : 0;
    const double haut = v ? static_cast<double>(v->CoeffHaut) : 0;
    if (a->typeCompens != CompensAlti) {
      l += "\t" + Msg(IdMsg::ExportCorrectionLongueurs) + "\t" +
           foundation::OteBlancs(foundation::ReelEnStrFixe((coeffLong - 1) * 1000, 20, 2)) + Msg(IdMsg::CompensMmParM);
      l += "\t" + Msg(IdMsg::ExportCorrectionAzimut) + "\t" +
           foundation::OteBlancs(foundation::ReelEnStrFixe(angle * 200 / std::numbers::pi, 20, 5)) +
           Msg(IdMsg::ExportGrades);
    }
    if (a->typeCompens != CompensPlani)
      l += "\t" + Msg(IdMsg::ExportCorrectionAlti) + "\t" +
           foundation::OteBlancs(foundation::ReelEnStrFixe(haut * 1000, 20, 2)) + Msg(IdMsg::CompensMmParM);
    lignes.push_back(std::move(l));
  }
}

std::vector<std::string> TCavite::LignesFichierCSV() {
  std::vector<std::string> lignes;
  lignes.push_back(LigneCsv({Msg(IdMsg::ExportCavite), NomCavite}));
  lignes.push_back(Msg(IdMsg::ExportSystemeCoordonnees) +
                   ChampCsv(ReseauProprio ? ReseauProprio->ProjectStr() : std::string()));
  if (ReseauProprio) {
    std::vector<std::string> compens;
    AjouteLignesCompensations(*ReseauProprio, this, compens);
    for (const std::string& l : compens) lignes.push_back(LigneCsvTabulee(l));
  }
  lignes.push_back(Msg(IdMsg::ExportEnTeteCsv));
  if (const TPointSpeleo* e = LEntree()) {
    std::vector<std::string> champs(ColonnesCsv);
    champs[0] = Msg(IdMsg::ExportCoordonneesEntree);
    champs[2] = e->DesignPTopo;
    champs[18] = Reel(e->X, 12, 1);
    champs[19] = Reel(e->Y, 12, 1);
    champs[20] = Reel(e->Z, 6, 1);
    champs[23] = CommentaireCsv(e->Commentaire);
    lignes.push_back(LigneCsv(champs));
  }
  const TLever* defaut = LeverParDefaut();
  for (TVisee* v : Visees) {
    const bool debut = v->EstDebutGal();
    if (debut) {
      const TGalerie* g = v->GalDeLaVis();
      lignes.push_back(LigneCsv({Msg(IdMsg::ExportGalerie), g ? g->NomGalerie : std::string()}));
    }
    if (v->LeLever && v->LeLever != defaut) {
      const TVisee* avant = v->ViseePreced();
      if (debut || !avant || avant->LeLever != v->LeLever) {
        std::vector<std::string> lever;
        v->LeLever->FichierAjouteLignesLever(lever);
        for (const std::string& l : lever) lignes.push_back(LigneCsvTabulee(l));
      }
    }
    static const foundation::TMesStringList sansCommentaire;
    const foundation::TMesStringList& commentaire = v->PtCalc ? v->PtCalc->Commentaire : sansCommentaire;
    lignes.push_back(LigneVisee(*v, v->EstExclue() ? "E" : "", commentaire));
    for (TViseeHabi* h : v->ViseesHabi) lignes.push_back(LigneVisee(*h, "", h->CommentVisee));
  }
  return lignes;
}

bool TCavite::GenereFichierCSV() {
  // The save dialog of the CSV files, with the export's own failure message.
  class Csv : public TSauveFichTxt {
   public:
    bool Enregistre(const std::string& nom) {
      Options.Filter = Msg(IdMsg::FiltreFichiers) + "csv|*.csv";
      Options.DefaultExtension = "csv";
      return Dialogue(nom);
    }
  } fichier;
  fichier.Lignes = LignesFichierCSV();
  if (!fichier.Enregistre(NomCavite)) return false;
  platform::Dialogs& d = platform::Dialogs::Current();
  if (!fichier.EcritLignes(fichier.FileName, Encodage::Windows1252)) {
    d.ShowMessage(platform::MessageKind::Error,
                  foundation::RemplaceMarques(Msg(IdMsg::ExportEchec), {NomCavite + ".csv"}));
    return false;
  }
  d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::FichierEnregistreSous) + fichier.FileName);
  return true;
}

}  // namespace survey
