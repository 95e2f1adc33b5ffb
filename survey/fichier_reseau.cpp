#include "survey/fichier_reseau.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

// Writes the document file; on success the lock holds the new file.
bool EcritFichierVerrouille(const std::string& chemin, std::string_view octets, platform::FileLock& verrou) {
  const auto& ecrit = FichierReseau().EcritFichier;
  if (!ecrit) return platform::WriteFileAtomic(chemin, octets, &verrou);
  if (!ecrit(chemin, octets)) return false;
  verrou.Take(chemin);
  return true;
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
    // The header and its file level.
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
    // The name, the coordinate system, the operators, the instruments, the
    // pattern library (and from level 511 the Therion set), the maps, the caves.
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
    // The caves know their network; the first one is the surface cave.
    for (TCavite* c : Cavites) {
      c->ReseauProprio = this;
      c->CavitesReseau = &Cavites;
      AssureAnnexe(*c);
    }
    if (TCavite* surface = Cavites.First()) surface->EstSurface = true;
    RecreeIndexReseau(Cavites);
    auto& lues = LectureReseau().ListesViseesLues;
    lues.clear();
    // From level 509 every cave's shots come before the caves' other objects.
    if (Niveau() >= 509)
      for (TCavite* c : Cavites) {
        if (!c->Visees.LitListe(f)) return false;
        lues.push_back(&c->Visees);
      }
    // Every stored entrance is taken before any cave is rebuilt: the
    // surface cave's rebuild sorts the surface points, whose positions the
    // entrances are stored as.
    for (TCavite* c : Cavites) c->AffecteEntreeStockee();
    for (TCavite* c : Cavites) {
      if (Niveau() < 509) lues.push_back(&c->Visees);
      if (!LitAutresObjets(*c, f)) return false;
    }
    // The adjustments.
    if (!Compensations.LitListe(f)) return false;
    DerCompens = Compensations.Count() - 1;
    // Documents older than level 505: the spare long section goes.
    if (Niveau() < 505)
      for (TCavite* c : Cavites)
        if (c->Annexe->CorrigeCoupesAnciennes()) c->CoupesDecalees = true;
    // The plan page layouts, then a word that levels 223 to 503 carry unused.
    if (!Partie(TGenrePartie::MisesEnPagePlan).Lit(f)) return false;
    if (Niveau() >= 223 && Niveau() <= 503) {
      int32_t ignore;
      if (!f.LitInteger(ignore)) return false;
    }
    // The active cave, recalled unless one already is.
    int32_t active = -1;
    if (f.LitInteger(active) && active > 0 && Document().CaviteRappelee == -1) Document().CaviteRappelee = active;
    // The stored lines of the network's system join the catalogue (a warning
    // when the catalogue does not list it).
    ChargeParamsProj();
  } catch (const std::runtime_error&) {
    // A documented error raised on the way (a level that is not a number, a
    // coordinate system that cannot be set up) is a file that cannot be
    // read; a programming error goes on to the command handler.
    return false;
  }
  therion.Valide();
  // The parts finish their reading; the surface symbols are linked.
  for (const auto& p : Parties) p->ApresLecture();
  LieSymbolesSurface();
  return true;
}

bool TReseau::LitFichier(const std::string& chemin) {
  const bool document = chemin == Document().NomFichierCourant;
  if (document && platform::FileExists(chemin)) {
    // The document's lock: refused, another instance has the file open.
    VerrouRefuse = Verrou.Take(chemin) == platform::FileLock::Outcome::HeldElsewhere;
    Protection = platform::WhyNotWritable(chemin);
    LectureSeule = VerrouRefuse || Protection != platform::WriteBlock::None;
  }
  foundation::TFluxMemoire flux;
  const bool charge = foundation::ChargeFlux(chemin, flux);
  const bool ok = charge && Lit(flux);
  if (!ok) {
    Verrou.Release();
    Message(platform::MessageKind::Error, AvecRaison(RemplaceMarques(Msg(IdMsg::ReseauFichierNonLu), {chemin}),
                                                     RaisonDocumentIllisible(chemin, charge ? &flux : nullptr)));
    return false;
  }
  // A file that cannot be written says why as soon as it is opened.
  if (document && Protection != platform::WriteBlock::None && !VerrouRefuse)
    Message(platform::MessageKind::Warning, TexteNonModifiable(chemin, Protection));
  return true;
}

std::unique_ptr<TReseau> OuvreReseau(const std::string& chemin) {
  GardeContexteReseau garde;
  auto reseau = std::make_unique<TReseau>();
  if (!reseau->LitFichier(chemin)) return nullptr;
  garde.Conserve();
  return reseau;
}

// --- The companion file ------------------------------------------------------------------------------

namespace {

// The table's display, after everything else in the companion file: a mark
// ("GRVL") that a companion file ending there does not hold by chance, then
// one byte of flags (bit 0: the splay shots listed).  A reader that stops
// after the pattern library never sees it; a companion file without it
// leaves the display as it is.
constexpr int32_t MarqueAffichageTable = 0x4C565247;
constexpr uint8_t DrapeauViseesHab = 1;

bool EcritAffichageTable(TFlux& f, const std::optional<bool>& habi) {
  if (!habi) return true;
  return f.EcritInteger(MarqueAffichageTable) && f.EcritOctet(*habi ? DrapeauViseesHab : 0);
}

void LitAffichageTable(TFlux& f, std::optional<bool>& habi) {
  int32_t marque = 0;
  uint8_t drapeaux = 0;
  if (f.Restant() < 5 || !f.LitInteger(marque) || marque != MarqueAffichageTable || !f.LitOctet(drapeaux)) return;
  habi = (drapeaux & DrapeauViseesHab) != 0;
}

}  // namespace

bool TReseau::EcritConfig(TFlux& f) {
  for (TCavite* c : Cavites) {
    AssureAnnexe(*c);
    if (!c->Annexe->EcritConfig(f) || !c->CalageDigitPlani.EcritObjet(f) || !c->CalageDigitAlti.EcritObjet(f))
      return false;
  }
  return Partie(TGenrePartie::BibliothequeMotifs).EcritConfig(f) && EcritAffichageTable(f, ViseesHabAffichees);
}

bool TReseau::LitConfig(TFlux& f) {
  try {
    for (TCavite* c : Cavites) {
      AssureAnnexe(*c);
      if (!c->Annexe->LitConfig(f, c->CoupesDecalees) || !c->CalageDigitPlani.LitObjet(f) ||
          !c->CalageDigitAlti.LitObjet(f))
        return false;
    }
    if (!Partie(TGenrePartie::BibliothequeMotifs).LitConfig(f)) return false;
    LitAffichageTable(f, ViseesHabAffichees);
    return true;
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
  // The file this network holds, under whatever name the save reaches it.
  const bool notreFichier = r->Verrou.Covers(chemin);
  const bool memeDocument = MemeFichier(chemin, FichierReseau().NomFichierAvantEnregistrement) ||
                            MemeFichier(chemin, Document().NomFichierCourant);
  // The file another instance holds: the one it held when the document was
  // opened, or any file whose lock is held elsewhere now.
  if (!notreFichier && ((r->VerrouRefuse && memeDocument) || platform::FileLock::HeldElsewhere(chemin))) {
    const bool ouvert = r->VerrouRefuse && memeDocument;
    Erreur(IdMsg::ReseauDejaOuvertAutreInstance, ouvert ? Document().NomFichierCourant : chemin);
    return false;
  }
  // An existing file that cannot be written keeps its permissions: the save
  // does not replace it.
  if (const platform::WriteBlock raison = platform::WhyNotWritable(chemin); raison != platform::WriteBlock::None) {
    Message(platform::MessageKind::Error, TexteNonModifiable(chemin, raison));
    return false;
  }
  // One message names the document and says why; the backup is a detail of
  // the save.
  auto echec = [&](const std::string& raison) {
    Message(platform::MessageKind::Error,
            AvecRaison(RemplaceMarques(Msg(IdMsg::ReseauFichierNonEnregistre), {chemin}), raison) + "\n" +
                Msg(IdMsg::ReseauFichierIntact));
    return false;
  };
  if (platform::FileExists(chemin)) {
    std::string ancien;
    bool copie = platform::ReadFile(chemin, ancien);
    int erreur = 0;
    if (copie) {
      errno = 0;
      copie = EcritFichier(CheminSauvegarde(chemin), ancien);
      erreur = errno;
    }
    if (!copie) {
      const std::string raison = RaisonEcritureImpossible(erreur);
      return echec(raison.empty() ? Msg(IdMsg::ReseauRaisonSauvegardeImpossible) : raison);
    }
  }
  // The new file is locked before it replaces the old one (whose lock goes
  // with it); saved elsewhere, the file held so far is let go.
  platform::FileLock verrou;
  foundation::TFluxMemoire flux;
  if (!r->Ecrit(flux)) return echec({});
  errno = 0;
  if (!EcritFichierVerrouille(chemin, flux.Octets(), verrou)) return echec(RaisonEcritureImpossible(errno));
  Document().DocumentModifie = false;
  r->LectureSeule = false;
  r->VerrouRefuse = false;
  r->Protection = platform::WriteBlock::None;
  r->Verrou = std::move(verrou);
  return true;
}

std::string TexteNonModifiable(const std::string& chemin, platform::WriteBlock raison) {
  IdMsg id = IdMsg::ReseauRaisonFichierLectureSeule;
  if (raison == platform::WriteBlock::FolderReadOnly) id = IdMsg::ReseauRaisonDossierProtege;
  if (raison == platform::WriteBlock::ReadOnlyFileSystem) id = IdMsg::ReseauRaisonSupportLectureSeule;
  return RemplaceMarques(Msg(IdMsg::ReseauFichierNonModifiable), {chemin, Msg(id)});
}

std::string AvecRaison(const std::string& message, const std::string& raison) {
  return raison.empty() ? message : RemplaceMarques(Msg(IdMsg::ReseauMessageEtRaison), {message, raison});
}

std::string RaisonFichierIllisible(const std::string& chemin) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status etat = fs::status(chemin, ec);
  if (!fs::exists(etat)) return Msg(IdMsg::ReseauRaisonFichierAbsent);
  if (fs::is_directory(etat)) return Msg(IdMsg::ReseauRaisonEstUnDossier);
  if (::access(chemin.c_str(), R_OK) != 0) return Msg(IdMsg::ReseauRaisonLectureRefusee);
  if (fs::is_regular_file(etat) && fs::file_size(chemin, ec) == 0 && !ec) return Msg(IdMsg::ReseauRaisonFichierVide);
  return {};
}

std::string RaisonDocumentIllisible(const std::string& chemin, const foundation::TFluxMemoire* flux) {
  if (std::string raison = RaisonFichierIllisible(chemin); !raison.empty()) return raison;
  if (!flux) return Msg(IdMsg::ReseauRaisonLectureRefusee);
  // The header: a counted text, "<program version>/Version<level>".
  const std::string& octets = flux->Octets();
  int32_t n = 0;
  if (octets.size() >= 4) std::memcpy(&n, octets.data(), 4);
  if (n <= 0 || static_cast<uint64_t>(n) > octets.size() - 4) return Msg(IdMsg::ReseauRaisonEnTeteInconnu);
  std::string niveau = octets.substr(4, static_cast<size_t>(n));
  if (const size_t barre = niveau.find('/'); barre != std::string::npos) niveau.erase(0, barre + 1);
  int32_t lu = 0;
  if (niveau.rfind("Version", 0) != 0 || !foundation::LitEntier(niveau.substr(7), lu))
    return Msg(IdMsg::ReseauRaisonEnTeteInconnu);
  // A level the reader refuses has its own message.
  if (lu == 226) lu = 500;
  if (lu > NiveauCourant || lu < NiveauMin) return {};
  if (flux->FinAtteinte()) return Msg(IdMsg::ReseauRaisonFinPrematuree);
  return RemplaceMarques(Msg(IdMsg::ReseauRaisonContenuEndommage),
                         {std::to_string(flux->Position()), std::to_string(flux->Taille())});
}

std::string RaisonEcritureImpossible(int erreur) {
  switch (erreur) {
    case ENOSPC:
    case EDQUOT: return Msg(IdMsg::ReseauRaisonDisquePlein);
    case EROFS: return Msg(IdMsg::ReseauRaisonSupportLectureSeule);
    case EACCES:
    case EPERM: return Msg(IdMsg::ReseauRaisonEcritureRefusee);
    case EIO: return Msg(IdMsg::ReseauRaisonErreurSupport);
    default: return {};
  }
}

bool EnregistreReseauSous() {
  TReseau* r = Document().ReseauCourant;
  if (!r) return false;
  ContexteDocument& doc = Document();
  FichierReseau().NomFichierAvantEnregistrement = doc.NomFichierCourant;
  bool ok = false;
  if (doc.DemandeNomFichier) {
    // The current file stays locked while the user chooses.
    std::string nom = doc.NomFichierCourant.empty() ? r->Nom : platform::FileNameOf(doc.NomFichierCourant);
    ok = EnregistreAvecDialogue(nom, "", Msg(IdMsg::ReseauFiltreGravelune), true, EnregistreReseau, "cav");
    if (ok) {
      doc.NomFichierCourant = nom;
      doc.DemandeNomFichier = false;
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
