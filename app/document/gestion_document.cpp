#include "app/document/gestion_document.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "app/commun/config_generale.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "foundation/flux.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/ports_survey.h"
#include "survey/rapport_calcul.h"
#include "survey/sauve_fich_txt.h"

namespace app {
namespace {

using foundation::IdMsg;
using foundation::Msg;
using foundation::RemplaceMarques;

void Message(IdMsg id, const std::string& valeur) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, RemplaceMarques(Msg(id), {valeur}));
}

// The same file, also under another spelling of its path.
bool MemeFichier(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string CheminLigneCommande(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  std::string chemin = arguments.front();
  for (size_t i = 1; i < arguments.size(); ++i) chemin += " " + arguments[i];
  if (foundation::EnMajuscules(platform::ExtensionOf(chemin)) == ".CFG") chemin = platform::ChangeExtension(chemin, ".cav");
  return chemin;
}

std::string CheminSauvegarde(const std::string& chemin) { return platform::ChangeExtension(chemin, ".$$$Cav"); }

std::string CheminFichierConfig(const std::string& chemin) { return platform::ChangeExtension(chemin, ".CFG"); }

TGestionDocument::TGestionDocument(FabriqueDocument fabrique) : fabrique_(std::move(fabrique)) {}

TGestionDocument::~TGestionDocument() { LibereReseau(); }

void TGestionDocument::LibereReseau() {
  verrou_.Release();
  verrouRefuse_ = false;
  lectureSeule_ = false;
  reseau_.reset();
}

void TGestionDocument::NouveauReseau() {
  LibereReseau();
  reseau_ = fabrique_();
  survey::Affichage().ColonnesTopofil = Config().SaisieTopofil;
  survey::Document().DemandeNomFichier = false;
}

bool TGestionDocument::LectureSeule() const {
  if (reseau_ && reseau_->GereFichier()) return reseau_->LectureSeule();
  return lectureSeule_;
}

bool TGestionDocument::LitFichier(const std::string& chemin) {
  if (!reseau_) reseau_ = fabrique_();
  // The survey network reads its own file, with its lock and its messages.
  if (reseau_->GereFichier()) return reseau_->LitFichier(chemin);
  const bool document = chemin == survey::Document().NomFichierCourant && platform::FileExists(chemin);
  platform::WriteBlock protection = platform::WriteBlock::None;
  if (document) {
    // The lock: refused, another instance has the file open.
    verrouRefuse_ = verrou_.Take(chemin) == platform::FileLock::Outcome::HeldElsewhere;
    protection = platform::WhyNotWritable(chemin);
    lectureSeule_ = verrouRefuse_ || protection != platform::WriteBlock::None;
  }
  bool ok = false;
  foundation::TFluxMemoire flux;
  const bool charge = foundation::ChargeFlux(chemin, flux);
  try {
    ok = charge && reseau_->Lit(flux);
  } catch (const std::runtime_error&) {
    // A reader's documented error is a file that cannot be read; a
    // programming error goes on to the command handler.
    ok = false;
  }
  if (!ok) {
    verrou_.Release();
    // The message says why when the reason is known.
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error,
        survey::AvecRaison(RemplaceMarques(Msg(IdMsg::AppFichierNonLu), {chemin}),
                           survey::RaisonDocumentIllisible(chemin, charge ? &flux : nullptr)));
    return false;
  }
  // A file that cannot be written says why as soon as it is opened.
  if (protection != platform::WriteBlock::None && !verrouRefuse_)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning,
                                             survey::TexteNonModifiable(chemin, protection));
  return true;
}

// The open document steps aside, whole (network, lock, flags, the document
// state), while another is read or imported into a fresh network: it comes
// back as it was when that fails, and goes when the new one takes its place.
class TGestionDocument::MiseDeCote {
 public:
  // relu: the path about to be read; the lock the open document holds on
  // that same file is let go meanwhile, so that the reading does not take it
  // for another instance's.
  MiseDeCote(TGestionDocument& g, const std::string& relu)
      : g_(g),
        avant_(survey::Document()),
        ancien_(std::move(g.reseau_)),
        verrou_(std::move(g.verrou_)),
        refuse_(g.verrouRefuse_),
        lectureSeule_(g.lectureSeule_),
        relu_(relu) {
    g.verrouRefuse_ = false;
    g.lectureSeule_ = false;
    if (!relu.empty() && ancien_) tenu_ = ancien_->GereFichier() ? ancien_->VerrouFichier() : &verrou_;
    relache_ = tenu_ && tenu_->Held() && tenu_->Covers(relu);
    if (relache_) tenu_->Release();
  }

  // Runs the reading under its own computation state; when it fails, or a
  // programming error stops it, the open document is back first.
  bool Essaie(const std::function<bool()>& lecture) {
    bool ok = false;
    {
      survey::GardeContexteCalcul calcul;
      try {
        ok = lecture();
      } catch (const std::exception&) {
        Retablit();
        throw;
      }
    }
    if (!ok) Retablit();
    return ok;
  }

  // The new document takes the open one's place.
  void Remplace(const std::function<void()>& avantRemplacement) {
    if (avantRemplacement) avantRemplacement();
    ancien_.reset();
    verrou_.Release();
    g_.reseau_->RendCourant();
  }

 private:
  void Retablit() {
    // The fresh network goes with any lock it took; the file let go is held
    // again.
    g_.reseau_.reset();
    g_.verrou_.Release();
    if (relache_) tenu_->Take(relu_);
    g_.reseau_ = std::move(ancien_);
    g_.verrou_ = std::move(verrou_);
    g_.verrouRefuse_ = refuse_;
    g_.lectureSeule_ = lectureSeule_;
    if (g_.reseau_) g_.reseau_->RendCourant();
    survey::Document() = avant_;
  }

  TGestionDocument& g_;
  const survey::ContexteDocument avant_;
  std::unique_ptr<DocumentReseau> ancien_;
  platform::FileLock verrou_;
  const bool refuse_;
  const bool lectureSeule_;
  const std::string relu_;
  platform::FileLock* tenu_ = nullptr;
  bool relache_ = false;
};

bool TGestionDocument::OuvreDocument(const std::string& chemin, const std::function<void()>& avantRemplacement) {
  survey::ContexteDocument& doc = survey::Document();
  MiseDeCote ouvert(*this, chemin);
  const bool ok = ouvert.Essaie([&] {
    reseau_ = fabrique_();
    doc.NomFichierCourant = chemin;
    doc.CaviteRappelee = -1;
    doc.DemandeNomFichier = false;
    return LitFichier(chemin);
  });
  if (!ok) return false;
  ouvert.Remplace(avantRemplacement);
  survey::Affichage().ColonnesTopofil = Config().SaisieTopofil;
  if (const FichierRecent* f = ChercheFichierRecent(Config().ListeDerniersFichiers, chemin)) doc.CaviteRappelee = f->Cavite;
  AfficheListeCavites(*reseau_, doc.CaviteRappelee);
  LitFichierConfig();
  MajDerniersFichiers();
  return true;
}

bool TGestionDocument::OuvrirAutre(const std::string& chemin, int type) {
  survey::ContexteDocument& doc = survey::Document();
  const bool modifie = doc.DocumentModifie;
  bool nouveau = false;
  if (!reseau_) {
    reseau_ = fabrique_();
    nouveau = true;
  }
  bool ok = false;
  formats::Import().RaisonAbandon.clear();
  formats::Import().AbandonChoisi = false;
  try {
    ok = reseau_->ImporteFichierAutre(chemin, type, false);
  } catch (const std::runtime_error&) {
    ok = false;
  } catch (const std::exception&) {
    // The import put the document back; a network made for it goes.
    if (nouveau) LibereReseau();
    doc.DocumentModifie = modifie;
    throw;
  }
  if (ok) {
    if (nouveau) {
      const std::string cavite = reseau_->NomCavite(reseau_->CaviteActive());
      std::string nom = cavite;
      if (!foundation::NomFichierNouveauValide(cavite)) {
        nom = platform::FileNameOf(chemin);
        nom = nom.substr(0, nom.find('.'));
      }
      reseau_->FixeNom(nom);
      doc.NomFichierCourant = platform::ChangeExtension(chemin, ".cav");
      doc.DemandeNomFichier = true;
    }
  } else {
    // With the reason the import knows and has not said yet; nothing when
    // the user chose to end it.
    if (!formats::Import().AbandonChoisi)
      platform::Dialogs::Current().ShowMessage(
          platform::MessageKind::Error,
          survey::AvecRaison(Msg(IdMsg::AppImportationAbandonnee), formats::Import().RaisonAbandon));
    if (nouveau) LibereReseau();
  }
  doc.DocumentModifie = ok || modifie;
  return ok;
}

bool TGestionDocument::OuvreAutreDocument(const std::string& chemin, int type,
                                          const std::function<void()>& avantRemplacement) {
  MiseDeCote ouvert(*this, std::string());
  const bool ok = ouvert.Essaie([&] {
    survey::Document().DocumentModifie = false;
    return OuvrirAutre(chemin, type);
  });
  if (!ok) return false;
  ouvert.Remplace(avantRemplacement);
  return true;
}

bool TGestionDocument::EnregistreReseau(const std::string& chemin) {
  if (!reseau_) return false;
  if (reseau_->GereFichier()) return reseau_->EnregistreFichier(chemin);
  survey::ContexteDocument& doc = survey::Document();
  if (reseau_->ACompensations()) reseau_->CalculeReseau();
  // The file another instance holds; an existing file that cannot be written.
  const bool notreFichier = verrou_.Covers(chemin);
  const bool memeDocument = MemeFichier(chemin, doc.NomFichierCourant);
  if (!notreFichier && ((verrouRefuse_ && memeDocument) || platform::FileLock::HeldElsewhere(chemin))) {
    Message(IdMsg::AppFichierDejaOuvert, verrouRefuse_ && memeDocument ? doc.NomFichierCourant : chemin);
    return false;
  }
  if (const platform::WriteBlock raison = platform::WhyNotWritable(chemin); raison != platform::WriteBlock::None) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, survey::TexteNonModifiable(chemin, raison));
    return false;
  }
  // One message names the document and says why.
  const auto echec = [&](const std::string& raison) {
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error,
        survey::AvecRaison(RemplaceMarques(Msg(IdMsg::AppFichierNonEnregistre), {chemin}), raison));
    return false;
  };
  errno = 0;
  if (platform::FileExists(chemin) && !platform::CopyFile(chemin, CheminSauvegarde(chemin))) {
    const std::string raison = survey::RaisonEcritureImpossible(errno);
    return echec(raison.empty() ? Msg(IdMsg::ReseauRaisonSauvegardeImpossible) : raison);
  }
  // The new file is locked before it takes the name; saved elsewhere, the
  // file held so far is let go.
  platform::FileLock verrou;
  bool ok = false;
  std::string raison;
  try {
    foundation::TFluxMemoire flux;
    ok = reseau_->Ecrit(flux);
    errno = 0;
    if (ok && !platform::WriteFileAtomic(chemin, flux.Octets(), &verrou)) {
      raison = survey::RaisonEcritureImpossible(errno);
      ok = false;
    }
  } catch (const std::runtime_error&) {
    ok = false;
  }
  if (!ok) return echec(raison);
  doc.DocumentModifie = false;
  lectureSeule_ = false;
  verrouRefuse_ = false;
  verrou_ = std::move(verrou);
  return true;
}

bool TGestionDocument::EnregistreReseauSous() {
  if (!reseau_) return false;
  if (reseau_->GereFichier()) {
    // The companion file and the recent list come with the save.
    const bool ok = reseau_->EnregistreFichierSous();
    if (ok) MajDerniersFichiers();
    return ok;
  }
  survey::ContexteDocument& doc = survey::Document();
  bool ok = false;
  if (doc.DemandeNomFichier) {
    std::string nom = doc.NomFichierCourant.empty() ? reseau_->Nom() : platform::FileNameOf(doc.NomFichierCourant);
    ok = survey::EnregistreAvecDialogue(nom, "", Msg(IdMsg::AppFiltreGravelune), true,
                                        [this](const std::string& p) { return EnregistreReseau(p); }, "cav");
    if (ok) {
      doc.NomFichierCourant = nom;
      doc.DemandeNomFichier = false;
    }
  } else {
    ok = EnregistreReseau(doc.NomFichierCourant);
  }
  if (ok) {
    EcritFichierConfig();
    MajDerniersFichiers();
  }
  return ok;
}

bool TGestionDocument::LitFichierConfig() {
  if (!reseau_) return false;
  if (reseau_->GereFichier()) return reseau_->LitFichierConfig();
  const std::string chemin = CheminFichierConfig(survey::Document().NomFichierCourant);
  if (!platform::FileExists(chemin)) return true;
  try {
    foundation::TFluxMemoire flux;
    if (!foundation::ChargeFlux(chemin, flux)) return false;
    return reseau_->LitConfig(flux);
  } catch (const std::runtime_error&) {
    Message(IdMsg::AppConfigNonLu, chemin);
    return false;
  }
}

bool TGestionDocument::EcritFichierConfig() {
  if (!reseau_) return false;
  if (reseau_->GereFichier()) return reseau_->EcritFichierConfig();
  const std::string chemin = CheminFichierConfig(survey::Document().NomFichierCourant);
  bool ok = false;
  try {
    foundation::TFluxMemoire flux;
    // A companion that could not be made whole keeps the previous one.
    if (!reseau_->EcritConfig(flux)) return false;
    ok = foundation::EnregistreFlux(chemin, flux);
  } catch (const std::runtime_error&) {
    ok = false;
  }
  if (!ok) Message(IdMsg::AppConfigNonEcrit, chemin);
  return ok;
}

bool TGestionDocument::DemandeEnregistrement(bool listeViseesPrete, const std::function<bool()>& enregistre) {
  if (!listeViseesPrete) return false;
  survey::ContexteDocument& doc = survey::Document();
  if (!reseau_ || !doc.DocumentModifie) return true;
  const std::string question = RemplaceMarques(Msg(IdMsg::AppFichierModifie), {doc.NomFichierCourant}) + "\n" +
                               Msg(IdMsg::AppVoulezVousEnregistrer);
  switch (platform::Dialogs::Current().AskYesNoCancel(question)) {
    case platform::Answer::Yes:
      return enregistre ? enregistre() : EnregistreReseauSous();
    case platform::Answer::No:
      doc.DocumentModifie = false;
      doc.NomFichierCourant.clear();
      return true;
    default:
      return false;
  }
}

bool TGestionDocument::MajDerniersFichiers() {
  if (!reseau_) return false;
  return AjouteFichierRecent(Config().ListeDerniersFichiers, survey::Document().NomFichierCourant,
                             reseau_->CaviteActive());
}

EtatDocument TGestionDocument::Etat() const {
  EtatDocument e;
  const survey::ContexteDocument& doc = survey::Document();
  e.DemandeNomFichier = doc.DemandeNomFichier;
  e.DocumentModifie = doc.DocumentModifie;
  if (!reseau_) return e;
  e.Reseau = true;
  e.NombreCavites = static_cast<int32_t>(reseau_->NomsCavites().size());
  const int32_t active = reseau_->CaviteActive();
  if (active >= 0 && active < e.NombreCavites) {
    e.ViseesCaviteActive = reseau_->NombreVisees(active);
    e.EntreesCaviteActive = reseau_->NombreEntrees(active);
  }
  e.PointsSurface = reseau_->NombrePointsSurface();
  return e;
}

}  // namespace app
