#include "app/commun/config_generale.h"

#include <filesystem>
#include <system_error>

#include "app/commun/fichier_ini.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/ports_survey.h"

namespace app {
namespace {

// Sections and keys of the settings file.
constexpr const char* kRepertoire = "Répertoire réseau";
constexpr const char* kOrdre = "Ordre de Saisie";
constexpr const char* kSaisie = "Saisie";
constexpr const char* kDecli = "Décli";
constexpr const char* kDecimales = "Décimales coordonnées";
constexpr const char* kMotifs = "Motifs Fontes Symboles";
constexpr const char* kMotifsTh2 = "Motifs Th2";
constexpr const char* kSouris = "Souris";
constexpr const char* kFichiers = "Liste derniers fichiers";
constexpr const char* kCavites = "Liste dernieres cavités";
constexpr const char* kCleFichier = "dernier fichier ";
constexpr const char* kCleCavite = "derniere cavité ";
constexpr const char* kAxe = "Axe Cheminement";
constexpr const char* kAnnexes = "Visées annexes";
constexpr const char* kEnveloppe = "Enveloppe galeries";
constexpr const char* kSurface = "Points surface";
constexpr const char* kFiligranes = "Filigranes";
constexpr const char* kZone = "Zone projections";
constexpr const char* kCouleur = "Couleur";
constexpr const char* kStyle = "Style";
constexpr const char* kEpaisseur = "Epaisseur";
constexpr const char* kFichierDefaut = "Fichier par défaut";

// The number N of a key "<prefix>N", -1 when the key is not one.
int32_t NumeroCle(const std::string& cle, std::string_view prefixe) {
  if (cle.size() <= prefixe.size() || !MemeNomIni(std::string_view(cle).substr(0, prefixe.size()), prefixe)) return -1;
  int32_t n = -1;
  if (!foundation::LitEntier(std::string_view(cle).substr(prefixe.size()), n) || n < 0) return -1;
  return n;
}

void LitStyle(const TFichierIni& ini, const char* section, StyleTopo& style, bool avecStyle) {
  style.CouleurPlume = static_cast<uint32_t>(ini.LitEntier(section, kCouleur, static_cast<int32_t>(style.CouleurPlume)));
  if (avecStyle) style.StylePlume = ini.LitEntier(section, kStyle, style.StylePlume);
  style.EpaisseurPlume = ini.LitEntier(section, kEpaisseur, style.EpaisseurPlume);
}

void EcritStyle(TFichierIni& ini, const char* section, const StyleTopo& style, bool avecStyle) {
  ini.EcritEntier(section, kCouleur, static_cast<int32_t>(style.CouleurPlume));
  if (avecStyle) ini.EcritEntier(section, kStyle, style.StylePlume);
  ini.EcritEntier(section, kEpaisseur, style.EpaisseurPlume);
}

int32_t Borne(int32_t v, int32_t min, int32_t max, int32_t defaut) { return (v < min || v > max) ? defaut : v; }

}  // namespace

StyleTopo TraitAxeDefaut() { return StyleTopo{0x0000FF, 0, 1, 0xFFFFFF, 0x800000, -1}; }
StyleTopo TraitViseesAnnexesDefaut() { return StyleTopo{0x0000FF, 2, 1, 0xFFFFFF, 0x800000, -1}; }
StyleTopo TraitEnveloppeDefaut() { return StyleTopo{0x800000, 0, 1, 0x000000, 0x000000, -1}; }
StylePointsSurface PointsSurfaceDefaut() {
  return StylePointsSurface{StyleTopo{0x008080, 0, 1, 0xFFFFFF, 0x008080, -1}, true, true, 1};
}

ConfigGenerale::ConfigGenerale()
    : TraitAxe(TraitAxeDefaut()),
      TraitViseesAnnexes(TraitViseesAnnexesDefaut()),
      TraitEnveloppe(TraitEnveloppeDefaut()),
      PointsSurface(PointsSurfaceDefaut()) {}

const std::array<std::string, NombreRegions>& NomsRegions() {
  using foundation::IdMsg;
  using foundation::Msg;
  static const std::array<std::string, NombreRegions> noms{
      Msg(IdMsg::AppRegionFrance),          Msg(IdMsg::AppRegionAfrique),  Msg(IdMsg::AppRegionAmeriqueCentrale),
      Msg(IdMsg::AppRegionAmeriqueDuNord),  Msg(IdMsg::AppRegionAsie),     Msg(IdMsg::AppRegionDomTom),
      Msg(IdMsg::AppRegionEurope),          Msg(IdMsg::AppRegionOceanie),  Msg(IdMsg::AppRegionOceanIndien),
      Msg(IdMsg::AppRegionAutres)};
  return noms;
}

int IndexRegion(const std::string& nom) {
  const auto& noms = NomsRegions();
  for (int i = 0; i < NombreRegions; ++i)
    if (noms[static_cast<size_t>(i)] == nom) return i;
  return -1;
}

CheminsConfig CheminsFichierConfig(const std::string& cheminExecutable, const std::string& dossierConfig) {
  const std::string nom = platform::ChangeExtension(platform::FileNameOf(cheminExecutable), ".ini");
  const std::string aCote = platform::FolderOf(cheminExecutable) + nom;
  std::string dossier = dossierConfig;
  if (!dossier.empty() && dossier.back() != '/') dossier += '/';
  const std::string utilisateur = dossier + nom;
  if (platform::IsWritableFolder(platform::FolderOf(cheminExecutable))) return {aCote, aCote};
  // A read-only installation: the user's copy, or the installed file until
  // the user has one.
  if (!platform::FileExists(utilisateur) && platform::FileExists(aCote)) return {aCote, utilisateur};
  return {utilisateur, utilisateur};
}

CheminsConfig CheminsFichierConfig() {
  std::error_code ec;
  std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec || exe.empty()) exe = platform::ExecutableFolder() + "gravelune";
  return CheminsFichierConfig(exe, platform::ConfigFolder());
}

void MajOrdreSaisie() {
  ConfigGenerale& c = Config();
  const int32_t pos[3] = {c.PosAzimut, c.PosPente, c.PosLongueur};
  c.OrdreSaisie = {0, 1, 2};
  for (int32_t mesure = 0; mesure < 3; ++mesure)
    if (pos[mesure] >= 0 && pos[mesure] < 3) c.OrdreSaisie[static_cast<size_t>(pos[mesure])] = mesure;
}

std::array<int32_t, 3> ResoutOrdreSaisie(std::array<int32_t, 3> positions, int mesure, int32_t position) {
  if (mesure < 0 || mesure > 2 || position < 0 || position > 2) return positions;
  positions[static_cast<size_t>(mesure)] = position;
  for (int autre = 0; autre < 3; ++autre) {
    if (autre == mesure || positions[static_cast<size_t>(autre)] != position) continue;
    // The position nobody holds now.
    for (int32_t libre = 0; libre < 3; ++libre) {
      bool prise = false;
      for (int m = 0; m < 3; ++m) prise = prise || positions[static_cast<size_t>(m)] == libre;
      if (!prise) {
        positions[static_cast<size_t>(autre)] = libre;
        break;
      }
    }
    break;
  }
  return positions;
}

std::vector<FichierRecent> LitDerniersFichiers(const TFichierIni& ini) {
  std::vector<FichierRecent> liste;
  for (const auto& [cle, valeur] : ini.LitSection(kFichiers)) {
    const int32_t n = NumeroCle(cle, kCleFichier);
    if (n < 0 || valeur.empty()) continue;
    FichierRecent f;
    f.Chemin = valeur;
    f.Cavite = ini.LitEntier(kCavites, kCleCavite + foundation::EntierEnStr(n), -1);
    liste.push_back(std::move(f));
  }
  return liste;
}

void EcritDerniersFichiers(TFichierIni& ini, const std::vector<FichierRecent>& liste) {
  const int32_t n = std::min<int32_t>(static_cast<int32_t>(liste.size()), NombreFichiersRecentsEcrits);
  for (int32_t i = 0; i < n; ++i) {
    const FichierRecent& f = liste[static_cast<size_t>(i)];
    const std::string suffixe = foundation::EntierEnStr(i);
    ini.EcritTexte(kFichiers, kCleFichier + suffixe, f.Chemin);
    // An index of 0 is not written and reads back as -1; an older index of
    // the same line must not survive it.
    if (f.Cavite != 0)
      ini.EcritEntier(kCavites, kCleCavite + suffixe, f.Cavite);
    else
      ini.EffaceCle(kCavites, kCleCavite + suffixe);
  }
  // Lines left from a longer list would come back at the next start.
  for (const auto& [cle, valeur] : ini.LitSection(kFichiers))
    if (const int32_t k = NumeroCle(cle, kCleFichier); k >= n) ini.EffaceCle(kFichiers, cle);
  for (const auto& [cle, valeur] : ini.LitSection(kCavites))
    if (const int32_t k = NumeroCle(cle, kCleCavite); k >= n) ini.EffaceCle(kCavites, cle);
}

bool AjouteFichierRecent(std::vector<FichierRecent>& liste, const std::string& chemin, int32_t cavite) {
  if (chemin.empty() || !platform::FileExists(chemin)) return false;
  std::erase_if(liste, [&](const FichierRecent& f) { return f.Chemin == chemin; });
  liste.insert(liste.begin(), FichierRecent{chemin, cavite});
  return true;
}

const FichierRecent* ChercheFichierRecent(const std::vector<FichierRecent>& liste, const std::string& chemin) {
  for (const FichierRecent& f : liste)
    if (f.Chemin == chemin) return &f;
  return nullptr;
}

void LitConfigGenerale(const TFichierIni& ini) {
  ConfigGenerale& c = Config();
  survey::Document().RepertoireReseau = ini.LitTexte(kRepertoire, "Repertoire", "");
  c.PosAzimut = ini.LitEntier(kOrdre, "Azimut", 0);
  c.PosPente = ini.LitEntier(kOrdre, "Pentes", 1);
  c.PosLongueur = ini.LitEntier(kOrdre, "Longueurs", 2);
  // Anything but a permutation of 0, 1, 2 would leave a measurement out of
  // the shot dialog: the built-in order then.
  const bool permutation = c.PosAzimut >= 0 && c.PosAzimut < 3 && c.PosPente >= 0 && c.PosPente < 3 &&
                           c.PosLongueur >= 0 && c.PosLongueur < 3 && c.PosAzimut != c.PosPente &&
                           c.PosAzimut != c.PosLongueur && c.PosPente != c.PosLongueur;
  if (!permutation) {
    c.PosAzimut = 0;
    c.PosPente = 1;
    c.PosLongueur = 2;
  }
  c.SaisieTopofil = ini.LitBooleen(kSaisie, "Topofil", false);
  c.CalculDecliAuto = ini.LitBooleen(kDecli, "Calcul Auto", true);
  survey::Affichage().DecimalesCoord = Borne(ini.LitEntier(kDecimales, "Décimales", 1), 0, 3, 1);
  c.FichierMotifsDefaut = ini.LitTexte(kMotifs, kFichierDefaut, "");
  c.FichierMotifsTh2Defaut = ini.LitTexte(kMotifsTh2, kFichierDefaut, "");
  c.ListeDerniersFichiers = LitDerniersFichiers(ini);
  c.SensMolette = ini.LitBooleen(kSouris, "Sens", false);
  LitStyle(ini, kAxe, c.TraitAxe, true);
  LitStyle(ini, kAnnexes, c.TraitViseesAnnexes, true);
  LitStyle(ini, kEnveloppe, c.TraitEnveloppe, true);
  LitStyle(ini, kSurface, c.PointsSurface.Trait, false);
  c.PointsSurface.CouleurPourTous = ini.LitBooleen(kSurface, "Couleur pour tous", true);
  c.PointsSurface.TracerCercle = ini.LitBooleen(kSurface, "Tracer Cercle", true);
  c.PointsSurface.TailleDesign = ini.LitEntier(kSurface, "Taille Design", 1);
  c.CouleurFiligrane = static_cast<uint32_t>(ini.LitEntier(kFiligranes, kCouleur, static_cast<int32_t>(c.CouleurFiligrane)));
  c.RegionProjections = Borne(ini.LitEntier(kZone, "Liste Projections", c.RegionProjections), 0, NombreRegions - 1,
                              c.RegionProjections);
  if (Services().ChangeListeProjections) Services().ChangeListeProjections(c.RegionProjections);
}

void LitConfigGenerale(const std::string& chemin) {
  Config().CouleurFiligrane = 0xC0C0C0;
  Config().ListeDerniersFichiers.clear();
  TFichierIni ini;
  if (platform::FileExists(chemin) && ini.Charge(chemin)) LitConfigGenerale(ini);
  ConfigGenerale& c = Config();
  if (Services().ChangeStyles) Services().ChangeStyles(c);
  if (Services().AppliqueStyles) Services().AppliqueStyles(c);
  MajOrdreSaisie();
}

void EcritConfigGenerale(TFichierIni& ini) {
  const ConfigGenerale& c = Config();
  ini.EcritTexte(kRepertoire, "Repertoire", survey::DossierDeTravail());
  ini.EcritEntier(kOrdre, "Azimut", c.PosAzimut);
  ini.EcritEntier(kOrdre, "Pentes", c.PosPente);
  ini.EcritEntier(kOrdre, "Longueurs", c.PosLongueur);
  ini.EcritBooleen(kSaisie, "Topofil", c.SaisieTopofil);
  ini.EcritBooleen(kDecli, "Calcul Auto", c.CalculDecliAuto);
  ini.EcritEntier(kDecimales, "Décimales", survey::Affichage().DecimalesCoord);
  ini.EcritTexte(kMotifs, kFichierDefaut, c.FichierMotifsDefaut);
  ini.EcritTexte(kMotifsTh2, kFichierDefaut, c.FichierMotifsTh2Defaut);
  ini.EcritBooleen(kSouris, "Sens", c.SensMolette);
  EcritDerniersFichiers(ini, c.ListeDerniersFichiers);
  EcritStyle(ini, kAxe, c.TraitAxe, true);
  EcritStyle(ini, kAnnexes, c.TraitViseesAnnexes, true);
  EcritStyle(ini, kEnveloppe, c.TraitEnveloppe, true);
  EcritStyle(ini, kSurface, c.PointsSurface.Trait, false);
  ini.EcritBooleen(kSurface, "Couleur pour tous", c.PointsSurface.CouleurPourTous);
  ini.EcritBooleen(kSurface, "Tracer Cercle", c.PointsSurface.TracerCercle);
  ini.EcritEntier(kSurface, "Taille Design", c.PointsSurface.TailleDesign);
  ini.EcritEntier(kFiligranes, kCouleur, static_cast<int32_t>(c.CouleurFiligrane));
  ini.EcritEntier(kZone, "Liste Projections", c.RegionProjections);
}

bool EcritConfigGenerale(const std::string& chemin) {
  TFichierIni ini;
  if (platform::FileExists(chemin)) ini.Charge(chemin);
  EcritConfigGenerale(ini);
  return ini.Enregistre(chemin);
}

std::string CheminMotifsDefaut(const std::string& nom) {
  if (nom.empty() || !platform::FolderOf(nom).empty()) return nom;
  return survey::DossierGravelune() + nom;
}

std::string FichierMotifsParDefaut() {
  ConfigGenerale& c = Config();
  c.FichierMotifsDefaut = CheminMotifsDefaut(c.FichierMotifsDefaut);
  return c.FichierMotifsDefaut;
}

void OublieMotifsParDefaut(const std::string& fichier) {
  ConfigGenerale& c = Config();
  if (c.FichierMotifsDefaut == fichier) c.FichierMotifsDefaut.clear();
}

void ChargeMotifsTh2ParDefaut() {
  ConfigGenerale& c = Config();
  if (c.FichierMotifsTh2Defaut.empty()) return;
  c.FichierMotifsTh2Defaut = CheminMotifsDefaut(c.FichierMotifsTh2Defaut);
  const auto& charge = Services().ChargeMotifsTh2;
  if (charge && !charge(c.FichierMotifsTh2Defaut)) c.FichierMotifsTh2Defaut.clear();
}

}  // namespace app
