#include "survey/fichier_reseau.h"

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/annexe_minimale.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/listes_document.h"
#include "survey/sauve_fich_txt.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::RemplaceMarques;
using foundation::TFlux;

namespace {

constexpr int32_t NiveauMin = 212;
constexpr int32_t NiveauCourant = foundation::ContexteNiveauFichier::VersionFichierCourante;
constexpr uint32_t BitsEcriture = S_IWUSR | S_IWGRP | S_IWOTH;

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

void Message(platform::MessageKind genre, const std::string& texte) {
  platform::Dialogs::Current().ShowMessage(genre, texte);
}

void Erreur(IdMsg id, const std::string& valeur) {
  Message(platform::MessageKind::Error, RemplaceMarques(Msg(id), {valeur}));
}

bool EcritFichier(const std::string& chemin, std::string_view octets) {
  const auto& ecrit = FichierReseau().EcritFichier;
  return ecrit ? ecrit(chemin, octets) : platform::WriteFileAtomic(chemin, octets);
}

// The same file, also under another spelling of its path.
bool MemeFichier(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec) && !ec) return true;
  return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

// Names compared as Windows compares them: letters without regard to case.
bool MemeNomSansCasse(const std::string& a, const std::string& b) {
  return foundation::EnMajuscules(a) == foundation::EnMajuscules(b);
}

// Puts the read-only mark on the file; remembers nothing.
void Marque(const std::string& chemin, uint32_t attributs) { platform::SetAttributes(chemin, attributs & ~BitsEcriture); }

// Sets the state of the shared readers for the life of a read or a write.
class GardeLecture {
 public:
  GardeLecture() : sauve_(LectureReseau()) {}
  ~GardeLecture() { LectureReseau().CaviteEnLecture = sauve_.CaviteEnLecture; }
  GardeLecture(const GardeLecture&) = delete;
  GardeLecture& operator=(const GardeLecture&) = delete;

 private:
  ContexteLectureReseau sauve_;
};

// The Therion set read into its scratch library is dropped unless validated.
class GardeTherion {
 public:
  ~GardeTherion() {
    if (lu_ && !valide_ && Fabriques().Therion.Abandonne) Fabriques().Therion.Abandonne();
  }
  void Lu() { lu_ = true; }
  void Valide() {
    if (lu_ && Fabriques().Therion.Valide) Fabriques().Therion.Valide();
    valide_ = true;
  }

 private:
  bool lu_ = false;
  bool valide_ = false;
};

bool EcritTherion(TFlux& f) {
  const auto& ecrit = Fabriques().Therion.Ecrit;
  return ecrit ? ecrit(f) : EcritBibliothequeVide(f);
}

bool LitTherion(TFlux& f) {
  const auto& lit = Fabriques().Therion.Lit;
  return lit ? lit(f) : LitBibliothequeVide(f);
}

}  // namespace

ContexteFichierReseau& FichierReseau() {
  static ContexteFichierReseau contexte;
  return contexte;
}

// --- Paths ------------------------------------------------------------------------------------------

std::string CheminSauvegarde(const std::string& chemin) { return platform::ChangeExtension(chemin, ".$$$Cav"); }

std::string CheminExistant(const std::string& chemin) {
  if (platform::FileExists(chemin)) return chemin;
  const std::string dossier = platform::FolderOf(chemin);
  const std::string nom = platform::FileNameOf(chemin);
  DIR* d = ::opendir(dossier.empty() ? "." : dossier.c_str());
  if (!d) return {};
  std::string trouve;
  while (const dirent* e = ::readdir(d)) {
    const std::string candidat = e->d_name;
    if (MemeNomSansCasse(candidat, nom) && platform::FileExists(dossier + candidat)) {
      trouve = dossier + candidat;
      break;
    }
  }
  ::closedir(d);
  return trouve;
}

std::string CheminConfig(const std::string& chemin) {
  const std::string config = platform::ChangeExtension(chemin, ".CFG");
  const std::string existant = CheminExistant(config);
  return existant.empty() ? config : existant;
}

// --- Writing ------------------------------------------------------------------------------------------

void TReseau::PrepareEcriture() {
  MajIdSvg();
  for (TCavite* c : Cavites) {
    c->ReseauProprio = this;
    c->CavitesReseau = &Cavites;
    AssureAnnexe(*c);
  }
  NumeroteStationsEcriture(Cavites);
  for (TCavite* c : Cavites) c->NettoieLevers();
}

bool TReseau::EcritAutresObjets(TCavite& cavite, TFlux& f) {
  LectureReseau().CaviteEnLecture = &cavite;
  return cavite.Annexe->EcritDessins(f) && f.EcritInteger(cavite.EchelleTextesDft);
}

bool TReseau::Ecrit(TFlux& f) {
  PrepareEcriture();
  GardeListesDocument listes;
  ListesDocument().Operateurs = &ListeOperateurs;
  ListesDocument().Instruments = &ListeInstruments;
  GardeLecture lecture;
  try {
    bool ok = foundation::EcritChaineA(f, foundation::EnTeteDocumentCourant()) && foundation::EcritChaineA(f, Nom) &&
              foundation::EcritChaineA(f, ParamsEllipsoide) && foundation::EcritChaineA(f, ParamsDatum) &&
              foundation::EcritChaineA(f, ParamsProjection) && foundation::EcritChaineA(f, Projection) &&
              f.EcritInteger(NumFuseau) && ListeOperateurs.EcritListe(f) && ListeInstruments.EcritListe(f) &&
              Partie(TGenrePartie::BibliothequeMotifs).Ecrit(f) && EcritTherion(f) &&
              Partie(TGenrePartie::Cartes).Ecrit(f) && Cavites.EcritListe(f);
    if (!ok) return false;
    // Section entries name their shots by cave position and shot position.
    for (int i = 0; i < Cavites.Count(); ++i)
      for (TVisee* v : Cavites.UnObjet(i)->Visees) v->IndexCavDeLaVis = i;
    for (TCavite* c : Cavites)
      if (!c->Visees.EcritListe(f)) return false;
    for (TCavite* c : Cavites)
      if (!EcritAutresObjets(*c, f)) return false;
    return Compensations.EcritListe(f) && Partie(TGenrePartie::MisesEnPagePlan).Ecrit(f) &&
           f.EcritInteger(LaCaviteActive ? Cavites.IndexOf(LaCaviteActive) : -1);
  } catch (const std::runtime_error&) {
    // A documented error raised on the way fails the writing; a programming
    // error goes on to the command handler.
    return false;
  }
}

// --- Reading ---------------------------------------------------------------------------------------------

bool TReseau::LitAutresObjets(TCavite& cavite, TFlux& f) {
  LectureReseau().CaviteEnLecture = &cavite;
  if (Niveau() <= 508 && !cavite.Visees.LitListe(f)) return false;
  cavite.AffecteLeversVisees();
  if (!cavite.Annexe->LitDessins(f)) return false;
  if (!cavite.ReGenereListePoints(true)) {
    Message(platform::MessageKind::Error, Msg(IdMsg::ReseauViseesNonRattachees));
    return false;
  }
  cavite.Annexe->AffecteLeversCroquis();
  return f.LitInteger(cavite.EchelleTextesDft);
}

bool TReseau::Lit(TFlux& f) {
  ListesDocument().Operateurs = &ListeOperateurs;
  ListesDocument().Instruments = &ListeInstruments;
  GardeLecture lecture;
  GardeTherion therion;
  foundation::ContexteNiveauFichier& niveau = foundation::NiveauFichier();
  bool ok = false;
  try {
    // 2-3. The header and the level.
    if (!foundation::LitChaineA(f, niveau.EnTeteFichier)) return false;
    foundation::DecodeVersionFichier();
    if (niveau.VersionFichierLue > NiveauCourant) {
      Message(platform::MessageKind::Error, Msg(IdMsg::ReseauVersionPlusRecente));
      return false;
    }
    if (niveau.VersionFichierLue < NiveauMin) {
      Message(platform::MessageKind::Error,
              RemplaceMarques(Msg(IdMsg::ReseauNiveauTropAncien), {foundation::EntierEnStr(niveau.VersionFichierLue)}));
      return false;
    }
    // 4. Items 2 to 11.
    ok = foundation::LitChaineA(f, Nom) && foundation::LitChaineA(f, ParamsEllipsoide) &&
         foundation::LitChaineA(f, ParamsDatum) && foundation::LitChaineA(f, ParamsProjection) &&
         foundation::LitChaineA(f, Projection) && f.LitInteger(NumFuseau) && ListeOperateurs.LitListe(f) &&
         ListeInstruments.LitListe(f) && Partie(TGenrePartie::BibliothequeMotifs).Lit(f);
    if (ok && Niveau() > 510) {
      therion.Lu();
      ok = LitTherion(f);
    }
    ok = ok && Partie(TGenrePartie::Cartes).Lit(f) && Cavites.LitListe(f);
    if (!ok) return false;
    // 5.
    for (TCavite* c : Cavites) {
      c->ReseauProprio = this;
      c->CavitesReseau = &Cavites;
      AssureAnnexe(*c);
    }
    if (TCavite* surface = Cavites.First()) surface->EstSurface = true;
    RecreeIndexReseau(Cavites);
    auto& lues = LectureReseau().ListesViseesLues;
    lues.clear();
    // 6.
    if (Niveau() >= 509)
      for (TCavite* c : Cavites) {
        if (!c->Visees.LitListe(f)) return false;
        lues.push_back(&c->Visees);
      }
    // 7.  Every stored entrance is taken before any cave is rebuilt: the
    // surface cave's rebuild sorts the surface points, whose positions the
    // entrances are stored as.
    for (TCavite* c : Cavites) c->AffecteEntreeStockee();
    for (TCavite* c : Cavites) {
      if (Niveau() < 509) lues.push_back(&c->Visees);
      if (!LitAutresObjets(*c, f)) return false;
    }
    // 8.
    if (!Compensations.LitListe(f)) return false;
    DerCompens = Compensations.Count() - 1;
    // 9.
    if (Niveau() < 505)
      for (TCavite* c : Cavites)
        if (c->Annexe->CorrigeCoupesAnciennes()) c->CoupesDecalees = true;
    // 10.
    if (!Partie(TGenrePartie::MisesEnPagePlan).Lit(f)) return false;
    if (Niveau() >= 223 && Niveau() <= 503) {
      int32_t ignore;
      if (!f.LitInteger(ignore)) return false;
    }
    // 11.
    int32_t active = -1;
    if (f.LitInteger(active) && active > 0 && Document().CaviteRappelee == -1) Document().CaviteRappelee = active;
    // 12.
    ChargeParamsProj();
  } catch (const std::runtime_error&) {
    // A documented error raised on the way (a level that is not a number, a
    // coordinate system that cannot be set up) is a file that cannot be
    // read; a programming error goes on to the command handler.
    return false;
  }
  therion.Valide();
  // 14.
  for (const auto& p : Parties) p->ApresLecture();
  LieSymbolesSurface();
  return true;
}

bool TReseau::LitFichier(const std::string& chemin) {
  if (chemin == Document().NomFichierCourant) {
    if (const auto attributs = platform::Attributes(chemin)) {
      LectureSeule = Document().AutreInstance && platform::IsReadOnly(chemin);
      Attributs = *attributs | S_IWUSR;
      FichierAttributs = chemin;
      Marque(chemin, *Attributs);
    }
  }
  foundation::TFluxMemoire flux;
  const bool ok = foundation::ChargeFlux(chemin, flux) && Lit(flux);
  if (!ok) Erreur(IdMsg::ReseauFichierNonLu, chemin);
  return ok;
}

std::unique_ptr<TReseau> OuvreReseau(const std::string& chemin) {
  GardeContexteReseau garde;
  auto reseau = std::make_unique<TReseau>();
  if (!reseau->LitFichier(chemin)) return nullptr;
  garde.Conserve();
  return reseau;
}

// --- The companion file ------------------------------------------------------------------------------

bool TReseau::EcritConfig(TFlux& f) {
  for (TCavite* c : Cavites) {
    AssureAnnexe(*c);
    if (!c->Annexe->EcritConfig(f) || !c->CalageDigitPlani.EcritObjet(f) || !c->CalageDigitAlti.EcritObjet(f))
      return false;
  }
  return Partie(TGenrePartie::BibliothequeMotifs).EcritConfig(f);
}

bool TReseau::LitConfig(TFlux& f) {
  try {
    for (TCavite* c : Cavites) {
      AssureAnnexe(*c);
      if (!c->Annexe->LitConfig(f, c->CoupesDecalees) || !c->CalageDigitPlani.LitObjet(f) ||
          !c->CalageDigitAlti.LitObjet(f))
        return false;
    }
    return Partie(TGenrePartie::BibliothequeMotifs).LitConfig(f);
  } catch (const std::runtime_error&) {
    // As for the document: a documented error fails the reading.
    return false;
  }
}

bool TReseau::EcritFichierConfig() {
  const std::string chemin = CheminConfig(Document().NomFichierCourant);
  foundation::TFluxMemoire flux;
  const bool ok = EcritConfig(flux) && EcritFichier(chemin, flux.Octets());
  if (!ok) Erreur(IdMsg::ReseauConfigNonEcrit, chemin);
  return ok;
}

bool TReseau::LitFichierConfig() {
  const std::string chemin = CheminExistant(platform::ChangeExtension(Document().NomFichierCourant, ".CFG"));
  if (chemin.empty()) return true;
  foundation::TFluxMemoire flux;
  if (!foundation::ChargeFlux(chemin, flux)) {
    Erreur(IdMsg::ReseauConfigNonLu, chemin);
    return false;
  }
  if (LitConfig(flux)) return true;
  Erreur(IdMsg::ReseauConfigNonLu, chemin);
  return false;
}

void TReseau::AjouteFichierRecent() {
  const std::string& chemin = Document().NomFichierCourant;
  const auto& ajoute = Fabriques().AjouteFichierRecent;
  if (ajoute && platform::FileExists(chemin)) ajoute(chemin, LaCaviteActive ? Cavites.IndexOf(LaCaviteActive) : -1);
}

// --- Saving --------------------------------------------------------------------------------------------------

bool EnregistreReseau(const std::string& chemin) {
  TReseau* r = Document().ReseauCourant;
  if (!r) return false;
  if (!r->Compensations.Vide()) r->CalculeReseau();
  // The file another instance holds, under whatever name the save reaches it.
  if (r->LectureSeule && (MemeFichier(chemin, FichierReseau().NomFichierAvantEnregistrement) ||
                          MemeFichier(chemin, Document().NomFichierCourant) || MemeFichier(chemin, r->FichierAttributs))) {
    Erreur(IdMsg::ReseauDejaOuvertAutreInstance, Document().NomFichierCourant);
    return false;
  }
  auto echec = [&] {
    Message(platform::MessageKind::Error,
            RemplaceMarques(Msg(IdMsg::ReseauFichierNonEnregistre), {chemin}) + "\n" + Msg(IdMsg::ReseauFichierIntact));
    return false;
  };
  const bool notreFichier = r->Attributs && MemeFichier(chemin, r->FichierAttributs);
  // The file keeps the permissions it had (the temporary file that replaces
  // it is made with default ones).
  std::optional<uint32_t> attributs;
  if (platform::FileExists(chemin)) {
    attributs = notreFichier ? r->Attributs : platform::Attributes(chemin);
    if (attributs && !notreFichier) *attributs |= S_IWUSR;
    if (!platform::CopyFile(chemin, CheminSauvegarde(chemin))) {
      Erreur(IdMsg::ReseauSauvegardeImpossible, CheminSauvegarde(chemin));
      return echec();
    }
  }
  foundation::TFluxMemoire flux;
  if (!r->Ecrit(flux) || !EcritFichier(chemin, flux.Octets())) return echec();
  const bool etaitLectureSeule = r->LectureSeule;
  Document().DocumentModifie = false;
  r->LectureSeule = false;
  // Saved elsewhere: the file held so far is no longer this instance's.
  if (r->Attributs && !notreFichier && !etaitLectureSeule && platform::FileExists(r->FichierAttributs))
    platform::SetAttributes(r->FichierAttributs, *r->Attributs);
  if (platform::FileExists(chemin)) {
    if (attributs) platform::SetAttributes(chemin, *attributs);
    r->Attributs = platform::Attributes(chemin);
    if (r->Attributs) *r->Attributs |= S_IWUSR;
    r->FichierAttributs = chemin;
    if (r->Attributs) Marque(chemin, *r->Attributs);
  }
  return true;
}

bool EnregistreReseauSous() {
  TReseau* r = Document().ReseauCourant;
  if (!r) return false;
  ContexteDocument& doc = Document();
  FichierReseau().NomFichierAvantEnregistrement = doc.NomFichierCourant;
  bool ok = false;
  if (doc.DemandeNomFichier) {
    // The mark comes off while the user chooses, and back on unless the
    // document was saved.
    const std::string fichier = r->FichierAttributs;
    const bool demarque = !r->LectureSeule && r->Attributs && platform::FileExists(fichier);
    if (demarque) platform::SetAttributes(fichier, *r->Attributs);
    std::string nom = doc.NomFichierCourant.empty() ? r->Nom : platform::FileNameOf(doc.NomFichierCourant);
    ok = EnregistreAvecDialogue(nom, "", Msg(IdMsg::ReseauFiltreGravelune), true, EnregistreReseau, "cav");
    if (ok) {
      doc.NomFichierCourant = nom;
      doc.DemandeNomFichier = false;
    } else if (demarque && r->FichierAttributs == fichier && r->Attributs && platform::FileExists(fichier)) {
      Marque(fichier, *r->Attributs);
    }
  } else {
    ok = EnregistreReseau(doc.NomFichierCourant);
  }
  if (ok) {
    r->EcritFichierConfig();
    r->AjouteFichierRecent();
  }
  return ok;
}

}  // namespace survey
