#include "formats/import/toporobot/lecteur_toporobot.h"

#include <algorithm>
#include <cmath>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "formats/import/galeries_import.h"
#include "formats/import/plausibilite.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/reseau.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TLever;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

bool Blanc(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view OteBlancsGauche(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && Blanc(s[i])) ++i;
  return s.substr(i);
}

// The text up to the first TAB; the rest after it (empty without one).
std::string_view PremierChamp(std::string_view s, std::string_view& reste, bool& tab) {
  const size_t p = s.find('\t');
  tab = p != std::string_view::npos;
  reste = tab ? s.substr(p + 1) : std::string_view();
  return tab ? s.substr(0, p) : s;
}

bool ChampEntier(std::string_view& t, int32_t& v) {
  t = OteBlancsGauche(t);
  std::string_view reste;
  bool tab;
  const std::string champ = foundation::OteBlancs(PremierChamp(t, reste, tab));
  t = OteBlancsGauche(reste);
  return foundation::LitEntier(champ, v);
}

double Reel(std::string_view champ) { return foundation::TexteEnReel(foundation::NettoieNombre(champ)); }

// Every field of a text.
std::vector<std::string_view> Champs(std::string_view t) {
  std::vector<std::string_view> r;
  for (;;) {
    std::string_view reste;
    bool tab;
    r.push_back(PremierChamp(t, reste, tab));
    if (!tab) break;
    t = reste;
  }
  return r;
}


std::string NomStation(int64_t serie, int64_t point) {
  return foundation::EntierEnStr(serie) + "-" + foundation::EntierEnStr(point);
}

void AjouteCommentaire(foundation::TMesStringList& liste, const std::string& c) {
  if (!foundation::OteBlancs(c).empty()) liste.push_back(c);
}

// A zero shot between two stations, with a trip.
TVisee* ViseeNulle(survey::TCavite& c, TPointSpeleo* de, TPointSpeleo* a, const TLever* lever) {
  auto v = std::make_unique<TVisee>();
  v->PointStation = de;
  v->PointVise = a;
  v->LeLever = lever;
  de->LstVis.push_back(v.get());
  a->LstVis.push_back(v.get());
  return c.Visees.Add(std::move(v));
}

}  // namespace

// --- Lines ---------------------------------------------------------------------------------

bool LitLigneTopoRobot(std::string_view ligne, LigneTopoRobot& l) {
  std::string_view t = OteBlancsGauche(ligne);
  if (t.empty()) return false;
  l = LigneTopoRobot();
  if (!ChampEntier(t, l.Code) || !ChampEntier(t, l.Second)) return false;
  if (l.Code > 0 && l.Second >= 0 && (!ChampEntier(t, l.Troisieme) || !ChampEntier(t, l.Quatrieme))) return false;
  l.Texte = std::string(t);
  return true;
}

ValeursTopoRobot LitValeursTopoRobot(std::string_view texte) {
  ValeursTopoRobot r;
  std::string_view t = texte;
  bool tab = true;
  for (int i = 0; i < 6; ++i) {
    std::string_view reste;
    r.V[i] = tab ? Reel(PremierChamp(t, reste, tab)) : 0;
    t = tab ? reste : std::string_view();
  }
  if (!tab) return r;
  std::string_view reste;
  r.V[6] = Reel(PremierChamp(t, reste, tab));
  if (tab) {
    bool tab2;
    std::string_view apres;
    r.Texte = foundation::OteBlancs(PremierChamp(reste, apres, tab2));
  }
  return r;
}

int32_t AnneeTopoRobot(int32_t annee) {
  if (annee >= 100) return annee;
  if (annee < 0) return annee;
  return annee < 50 ? 2000 + annee : 1900 + annee;
}

// --- Cave choice ---------------------------------------------------------------------------

void TTpRbChoixCavDlg::Init(const std::vector<std::string>& cavites) {
  Cavites = cavites;
  Cochees.assign(cavites.size(), false);
}

void TTpRbChoixCavDlg::ListeCavBoxClickCheck(int i, bool cochee) {
  if (i < 0 || static_cast<size_t>(i) >= Cochees.size()) return;
  if (cochee) Cochees.assign(Cochees.size(), false);
  Cochees[static_cast<size_t>(i)] = cochee;
}

int TTpRbChoixCavDlg::Choisie() const {
  for (size_t i = 0; i < Cochees.size(); ++i)
    if (Cochees[i]) return static_cast<int>(i);
  return -1;
}

bool TTpRbChoixCavDlg::Execute() {
  if (const auto& fenetre = FenetresImport().AfficheChoixCavTpRb) return fenetre(*this);
  ListeCavBoxClickCheck(Import().CaviteTopoRobot, true);
  return true;
}

// --- Reading --------------------------------------------------------------------------------

bool tImportTopoRobot::EstXtb() const {
  return foundation::EnMinuscules(platform::ExtensionOf(NomFichierImport)) == ".xtb";
}

bool tImportTopoRobot::LitLignes() {
  // A file of valid UTF-8 is read as such; any other as Windows-1252 (the
  // lines arrive decoded so, which gives the bytes back unchanged).
  std::vector<std::string> octets;
  octets.reserve(LignesFichier.size());
  bool utf8 = true, nonAscii = false;
  for (const std::string& l : LignesFichier) {
    octets.push_back(foundation::VersWindows1252(l));
    if (utf8 && !foundation::EstUtf8Valide(octets.back())) utf8 = false;
    for (const char c : octets.back())
      if (static_cast<unsigned char>(c) >= 0x80) nonAscii = true;
  }
  const bool lireUtf8 = utf8 && nonAscii;
  int32_t codeSerie = -1;
  TSerie* serie = nullptr;
  // By series number: its last series and the line where it first appears.
  std::unordered_map<int32_t, size_t> derniereSerie;
  std::unordered_map<int32_t, int64_t> premiereLigne;
  for (size_t n = 0; n < LignesFichier.size(); ++n) {
    LigneTopoRobot l;
    if (!LitLigneTopoRobot(lireUtf8 ? octets[n] : LignesFichier[n], l)) continue;
    if (!lireUtf8) foundation::ConvertitAccentsMac(l.Texte);
    if (l.Code > 0) {
      const int64_t ligne = static_cast<int64_t>(n) + 1;
      // A second header, or a name after the header and points, starts the
      // number again.
      const bool recommence = serie && l.Code == codeSerie && serie->Entete &&
                              (l.Second == -1 || (l.Second == -2 && !serie->ListeVisImport.empty()));
      if (!serie || l.Code != codeSerie || recommence) {
        const auto deja = derniereSerie.find(l.Code);
        if (deja != derniereSerie.end()) SeriesRepetees.push_back({l.Code, premiereLigne[l.Code], ligne});
        if (deja != derniereSerie.end() && l.Code != codeSerie && l.Second >= 0) {
          // Points coming back after another series: the series goes on
          // from where it stopped.
          serie = &Series[deja->second];
        } else {
          Series.emplace_back();
          serie = &Series.back();
          derniereSerie[l.Code] = Series.size() - 1;
          premiereLigne.emplace(l.Code, ligne);
        }
        codeSerie = l.Code;
      }
      if (l.Second == -2) {
        serie->DesignGal = foundation::OteBlancs(l.Texte);
      } else if (l.Second == -1) {
        const ValeursTopoRobot v = LitValeursTopoRobot(l.Texte);
        serie->Entete = true;
        serie->Numserie = l.Code;
        serie->SerieDeb = foundation::Arrondi(v.V[0]);
        serie->PointDeb = foundation::Arrondi(v.V[1]);
        serie->SerieFin = foundation::Arrondi(v.V[2]);
        serie->PointFin = foundation::Arrondi(v.V[3]);
        serie->DesignGal = v.Texte;
      } else if (l.Second >= 0) {
        const ValeursTopoRobot v = LitValeursTopoRobot(l.Texte);
        TViseeImport vi;
        vi.NSerie = serie->Numserie;
        vi.NumPoint = l.Second;
        vi.L = v.V[0];
        vi.Az = v.V[1];
        vi.P = v.V[2];
        vi.DimG = v.V[3];
        vi.DimD = v.V[4];
        vi.DimH = v.V[5];
        vi.DimB = v.V[6];
        vi.ImpComment = v.Texte;
        vi.NumTypeLever = l.Troisieme;
        vi.NumDateLever = l.Quatrieme;
        vi.Ligne = n + 1;
        serie->ListeVisImport.push_back(std::move(vi));
      }
      continue;
    }
    switch (l.Code) {
      case -6: {
        // The name is the first field; a GHTopo line then gives an empty
        // field, the entrance station's series and point, X, Y, Z and a
        // comment.
        const std::vector<std::string_view> c = Champs(l.Texte);
        CavitesTpRb.push_back(foundation::OteBlancs(c[0]));
        EntreeTpRb e;
        const bool coordonnees = c.size() >= 7;
        if (coordonnees) {
          e.Serie = Reel(c[2]);
          e.Point = Reel(c[3]);
          e.X = Reel(c[4]);
          e.Y = Reel(c[5]);
          e.Z = Reel(c[6]);
          if (c.size() > 7) e.Commentaire = foundation::OteBlancs(c[7]);
          e.Ligne = n + 1;
          for (size_t k = 0; k < 3; ++k) e.Textes[k] = foundation::OteBlancs(c[4 + k]);
        }
        EntreesCavites.push_back(e);
        CaviteAEntree.push_back(coordonnees);
        break;
      }
      case -5: {
        const std::vector<std::string_view> c = Champs(l.Texte);
        EntreeTpRb e;
        auto champ = [&](size_t i) { return i < c.size() ? Reel(c[i]) : 0.0; };
        e.X = champ(0);
        e.Y = champ(1);
        e.Z = champ(2);
        e.Serie = champ(3);
        e.Point = champ(4);
        if (c.size() > 5) e.Commentaire = foundation::OteBlancs(c[5]);
        e.Ligne = n + 1;
        for (size_t k = 0; k < 3 && k < c.size(); ++k) e.Textes[k] = foundation::OteBlancs(c[k]);
        EntreesTpRb.push_back(e);
        break;
      }
      case -2: {
        const ValeursTopoRobot v = LitValeursTopoRobot(l.Texte);
        const std::vector<std::string_view> c = Champs(l.Texte);
        TSessionLeverImport s;
        s.DLj = foundation::Arrondi(v.V[0]);
        s.DLm = foundation::Arrondi(v.V[1]);
        s.DLa = AnneeTopoRobot(foundation::Arrondi(v.V[2]));
        for (size_t k = 0; k < 2; ++k)
          if (c.size() > 3 + k) s.Noms[k] = foundation::OteBlancs(c[3 + k]);
        s.Decli = c.size() > 6 ? Reel(c[6]) : 0;
        if (!std::isfinite(s.Decli)) s.Decli = 0;
        NumerosSessions.push_back(l.Second);
        indexSessions_.emplace(l.Second, Sessions.size());
        Sessions.push_back(std::move(s));
        break;
      }
      case -1: {
        const ValeursTopoRobot v = LitValeursTopoRobot(l.Texte);
        TTypeLeverImport t;
        const double az = v.V[0], p = v.V[1];
        t.UnitAZ = az > 380 ? 1 : 0;
        t.UnitP = p > 380 ? 1 : (p == 370 ? 2 : 0);
        t.Denivel = p == 380;
        const int32_t code = foundation::Arrondi(p);
        t.Nadir = code % 10 == 9;
        t.Zenith = code % 10 == 1;
        t.EtalL = v.V[5] / 100;
        if (!(t.EtalL >= 0.1) || !std::isfinite(t.EtalL)) t.EtalL = 1.0;
        t.InvAz = t.UnitAZ == 1 ? az < 395 : az < 355;
        NumerosCodes.push_back(l.Second);
        indexCodes_.emplace(l.Second, Codes.size());
        Codes.push_back(t);
        break;
      }
      default:
        break;  // GHTopo's other sections: sectors, networks, splays ...
    }
  }
  return VerifieLectures();
}

bool tImportTopoRobot::VerifieLectures() {
  // The first entrance whose coordinates no grid holds.
  const EntreeTpRb* entree = nullptr;
  ChampLecture champEntree = ChampLecture::Aucun;
  for (const std::vector<EntreeTpRb>* liste : {&EntreesTpRb, &EntreesCavites})
    for (const EntreeTpRb& e : *liste) {
      if (e.Ligne == 0 || (entree && e.Ligne > entree->Ligne)) continue;
      const ChampLecture champ = PointImpossible(e.X, e.Y, e.Z);
      if (champ == ChampLecture::Aucun) continue;
      entree = &e;
      champEntree = champ;
    }
  // The first point with a reading no instrument gives, before that entrance.
  const bool xtb = EstXtb();
  const TViseeImport* premiere = nullptr;
  ChampLecture champPremiere = ChampLecture::Aucun;
  for (const TSerie& s : Series)
    for (const TViseeImport& vi : s.ListeVisImport) {
      if ((premiere && vi.Ligne > premiere->Ligne) || (entree && vi.Ligne > entree->Ligne)) continue;
      // The point's instrument code gives the slope's unit and zero; a code
      // the file does not hold (the transfer refuses it) is checked as the
      // widest reading a code gives, a height difference.
      const TTypeLeverImport* code = nullptr;
      if (xtb) {
        const auto it = indexCodes_.find(vi.NumTypeLever);
        if (it != indexCodes_.end()) code = &Codes[it->second];
      } else if (vi.NumTypeLever >= 1 && static_cast<size_t>(vi.NumTypeLever) <= Codes.size()) {
        code = &Codes[static_cast<size_t>(vi.NumTypeLever) - 1];
      }
      LecturesVisee l;
      ConventionsPente c;
      l.TypeSaisie = !code || code->Denivel ? survey::SaisieDenivLongueur : survey::SaisiePenteLongueur;
      if (code) {
        c.UnitePente = code->UnitP == 2   ? ConventionsPente::Unite::Pourcent
                       : code->UnitP == 1 ? ConventionsPente::Unite::Grades
                                          : ConventionsPente::Unite::Degres;
        c.DepuisVerticale = code->Nadir || code->Zenith;
      }
      l.Longueur = vi.L;
      l.Azimut = vi.Az;
      l.Pente = l.Denivelee = vi.P;
      l.DimGauche = vi.DimG;
      l.DimDroite = vi.DimD;
      l.DimHaut = vi.DimH;
      l.DimBas = vi.DimB;
      const ChampLecture champ = LectureImpossible(l, c);
      if (champ == ChampLecture::Aucun) continue;
      premiere = &vi;
      champPremiere = champ;
    }
  if (!premiere && !entree) return true;
  if (!premiere) {
    const size_t k = champEntree == ChampLecture::CoordX ? 0 : champEntree == ChampLecture::CoordY ? 1 : 2;
    return EchecMessage(MessageLectureImpossible(NomFichierImport, entree->Ligne, champEntree, entree->Textes[k]));
  }
  // The field's text: length, azimuth, slope, left, right, up, down follow
  // the line's code fields.
  size_t k = 0;
  switch (champPremiere) {
    case ChampLecture::Azimut: k = 1; break;
    case ChampLecture::Pente:
    case ChampLecture::Denivelee: k = 2; break;
    case ChampLecture::DimGauche: k = 3; break;
    case ChampLecture::DimDroite: k = 4; break;
    case ChampLecture::DimHaut: k = 5; break;
    case ChampLecture::DimBas: k = 6; break;
    default: break;
  }
  std::string texte;
  LigneTopoRobot l;
  if (premiere->Ligne <= LignesFichier.size() && LitLigneTopoRobot(LignesFichier[premiere->Ligne - 1], l)) {
    const std::vector<std::string_view> c = Champs(l.Texte);
    if (k < c.size()) texte = foundation::OteBlancs(c[k]);
  }
  return EchecMessage(MessageLectureImpossible(NomFichierImport, premiere->Ligne, champPremiere, texte));
}

bool tImportTopoRobot::ConfirmeSeriesRepetees() {
  if (SeriesRepetees.empty()) return true;
  std::string liste;
  const size_t montres = std::min<size_t>(SeriesRepetees.size(), 20);
  for (size_t i = 0; i < montres; ++i) {
    const SerieRepetee& r = SeriesRepetees[i];
    liste += (i ? ", " : "") + foundation::RemplaceMarques(Msg(IdMsg::TpRbSerieRepetee),
                                                           {foundation::EntierEnStr(r.Numero),
                                                            foundation::EntierEnStr(r.Premiere),
                                                            foundation::EntierEnStr(r.Reprise)});
  }
  if (SeriesRepetees.size() > montres) liste += ", ...";
  const std::string question =
      foundation::RemplaceMarques(Msg(IdMsg::TpRbSeriesRepetees), {NomFichierImport, liste});
  if (platform::Dialogs::Current().AskYesNo(question) == platform::Answer::Yes) return true;
  Abandon = true;  // the user stopped: no further message
  return false;
}

bool tImportTopoRobot::TraiteLignes() {
  if (!LitLignes()) return false;
  if (CavitesTpRb.empty()) return FichierIllisible();
  if (CavitesTpRb.size() == 1) {
    iCav = 0;
    UneSeuleCavite = true;
  } else {
    ChoixCavDlg.Init(CavitesTpRb);
    const bool ok = ChoixCavDlg.Execute();
    iCav = ChoixCavDlg.Choisie();
    if (!ok || iCav < 0) {
      Abandon = true;
      if (ok) {
        // OK with no cave ticked chooses nothing: said as such, no error.
        platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::TpRbAucuneCavite));
        Import().AbandonChoisi = true;
      }
      return false;
    }
  }
  // A file that cannot be built is refused before any question.
  return TransfereTopo() && ConfirmeSeriesRepetees();
}

// --- Building the cave --------------------------------------------------------------------------

TPointSpeleo* tImportTopoRobot::Station(int64_t serie, int64_t point, bool cree) {
  const std::string nom = NomStation(serie, point);
  const auto it = stations_.find(nom);
  if (it != stations_.end()) return it->second;
  if (!cree) return nullptr;
  survey::TGalerie* g0 = ACavite->Galeries.First();
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  p->GalduPt = g0;
  TPointSpeleo* r = g0->Points.Add(std::move(p));
  stations_.emplace(nom, r);
  return r;
}

TLever* tImportTopoRobot::Lever(int32_t session, int32_t code) {
  const auto cle = std::make_pair(session, code);
  const auto it = levers_.find(cle);
  if (it != levers_.end()) return it->second;
  const TSessionLeverImport& s = Sessions[static_cast<size_t>(session)];
  const TTypeLeverImport& t = Codes[static_cast<size_t>(code)];
  auto l = std::make_unique<TLever>();
  l->LaDate = foundation::DateNonRenseignee;
  foundation::TDateTime d;
  if (foundation::EncodeDate(s.DLa, s.DLm, s.DLj == 0 ? 1 : s.DLj, d)) l->LaDate = d;
  l->Declinaison = s.Decli;
  for (const std::string& nom : s.Noms) {
    if (nom.empty()) continue;
    survey::TOperateur* o = Reseau->ListeOperateurs.ChercheOperateurParStr(nom);
    if (!o) {
      auto n = std::make_unique<survey::TOperateur>();
      n->DesignOpe = nom;
      o = Reseau->ListeOperateurs.Add(std::move(n));
    }
    l->Operateurs.push_back(o);
  }
  l->UniteAZ = t.UnitAZ;
  l->UniteP = t.UnitP;
  l->UniteDeclin = t.UnitAZ;
  l->EtalonAZ = 1.0;
  l->EtalonL = t.EtalL;
  l->ZeroPente = t.Nadir ? -1 : (t.Zenith ? 1 : 0);
  l->DecliAuto = Import().CalculDecliAuto;
  l->CodeLever = t.UnitP * 10 + t.UnitAZ;
  TLever* r = ACavite->Levers.Add(std::move(l));
  levers_.emplace(cle, r);
  return r;
}

bool tImportTopoRobot::EchecMessage(const std::string& message) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, message);
  Abandon = true;  // the message is said: the pipeline adds none
  return false;
}

bool tImportTopoRobot::EchecPoint(const TViseeImport& vi, bool session, int32_t numero) {
  const IdMsg id = session ? IdMsg::TpRbSessionInconnue : IdMsg::TpRbCodeInconnu;
  return EchecMessage(foundation::RemplaceMarques(
      Msg(id), {NomFichierImport, foundation::EntierEnStr(vi.NSerie), foundation::EntierEnStr(vi.NumPoint),
                foundation::EntierEnStr(numero)}));
}

bool tImportTopoRobot::TransfereTopo() {
  stations_.clear();
  levers_.clear();
  serieDeVisee_.clear();
  if (iCav < 0 || static_cast<size_t>(iCav) >= CavitesTpRb.size()) return FichierIllisible();
  const size_t rang = static_cast<size_t>(iCav);
  std::string nomCavite = CavitesTpRb[rang];
  if (nomCavite.empty()) nomCavite = DesignFich;
  ACavite->NomCavite = nomCavite;
  // The entrance: the -5 line of the cave's rank, else its -6 line's.
  EntreeTpRb* E = nullptr;
  if (rang < EntreesTpRb.size())
    E = &EntreesTpRb[rang];
  else if (CaviteAEntree[rang])
    E = &EntreesCavites[rang];
  if (!E) return EchecMessage(foundation::RemplaceMarques(Msg(IdMsg::TpRbSansEntree), {NomFichierImport, nomCavite}));
  const int32_t serieEntree = foundation::Arrondi(E->Serie);
  const int32_t pointEntree = foundation::Arrondi(E->Point);
  NomEntree = NomStation(serieEntree, pointEntree);
  E->Serie = -1;  // no more an extra entrance
  survey::TGalerie* g0 = ACavite->AjouteGalerie(std::string());
  // The series, each from its start station.
  const bool xtb = EstXtb();
  auto index = [&](const std::unordered_map<int32_t, size_t>& table, size_t taille, int32_t numero, size_t& i) {
    if (xtb) {
      const auto it = table.find(numero);
      if (it == table.end()) return false;
      i = it->second;
      return true;
    }
    if (numero < 1 || static_cast<size_t>(numero) > taille) return false;
    i = static_cast<size_t>(numero) - 1;
    return true;
  };
  for (size_t q = 0; q < Series.size(); ++q) {
    TSerie& s = Series[q];
    if ((UneSeuleCavite && q == 0) || s.Numserie == serieEntree) g0->NomGalerie = s.DesignGal;
    if (s.ListeVisImport.empty()) continue;
    TPointSpeleo* courante = Station(s.SerieDeb, s.PointDeb, true);
    std::vector<TViseeImport>& points = s.ListeVisImport;
    if (points.front().NSerie != s.SerieDeb) {
      TViseeImport debut;
      debut.NSerie = s.SerieDeb;
      debut.NumPoint = s.PointDeb;
      debut.SansMesure = true;
      debut.NumDateLever = points.front().NumDateLever;
      debut.NumTypeLever = points.front().NumTypeLever;
      points.insert(points.begin(), std::move(debut));
    }
    if (points.back().NSerie != s.SerieFin) {
      TViseeImport fin;
      fin.NSerie = s.SerieFin;
      fin.NumPoint = s.PointFin;
      fin.SansMesure = true;
      fin.NumDateLever = points.back().NumDateLever;
      fin.NumTypeLever = points.back().NumTypeLever;
      points.push_back(std::move(fin));
    }
    for (size_t k = 1; k < points.size(); ++k) {
      TViseeImport& vi = points[k];
      size_t session = 0, code = 0;
      if (!index(indexSessions_, Sessions.size(), vi.NumDateLever, session))
        return EchecPoint(vi, true, vi.NumDateLever);
      if (!index(indexCodes_, Codes.size(), vi.NumTypeLever, code)) return EchecPoint(vi, false, vi.NumTypeLever);
      const TTypeLeverImport& t = Codes[code];
      TPointSpeleo* cible = Station(vi.NSerie, vi.NumPoint, true);
      auto v = std::make_unique<TVisee>();
      v->PointStation = courante;
      v->PointVise = cible;
      v->LeLever = Lever(static_cast<int32_t>(session), static_cast<int32_t>(code));
      v->Az = vi.Az;
      v->InvAz = t.InvAz;
      v->Long = vi.L;
      if (t.Denivel) {
        v->Typesaisie = survey::SaisieDenivLongueur;
        v->Deniv = vi.P;
      } else {
        v->Typesaisie = survey::SaisiePenteLongueur;
        v->pente = vi.P;
      }
      v->InvP = t.InvP;
      v->NumBoucle = static_cast<int32_t>(q);
      if (k == 1) AjouteCommentaire(courante->Commentaire, s.DesignGal);
      if (!vi.SansMesure) {
        cible->LargeurDR = vi.DimD;
        cible->LargeurGA = vi.DimG;
        cible->HauteurSup = vi.DimH;
        cible->HauteurInf = vi.DimB;
        AjouteCommentaire(cible->Commentaire, vi.ImpComment);
      }
      if (courante != cible) {
        courante->LstVis.push_back(v.get());
        cible->LstVis.push_back(v.get());
        vi.ViseeTmp = ACavite->Visees.Add(std::move(v));
        serieDeVisee_[vi.ViseeTmp] = q;
      }
      courante = cible;
    }
  }
  // The entrance's surface point, in place of its station or joined to it.
  TPointSpeleo* station = Station(serieEntree, pointEntree, false);
  if (!station || station->LstVis.empty())
    return EchecMessage(
        foundation::RemplaceMarques(Msg(IdMsg::TpRbEntreeAbsente), {NomFichierImport, NomEntree, nomCavite}));
  survey::TListedePoints* surface = Reseau->LesPointsSurface();
  if (!surface) return false;
  survey::TPointsSurface points(*surface);
  TPointSpeleo* S = points.AjoutePointImport(Msg(IdMsg::TpRbEntree) + " " + nomCavite, E->Commentaire, E->X, E->Y,
                                             E->Z, std::string(), -1);
  TVisee* premiere = station->LstVis.front();
  if (station->LstVis.size() == 1) {
    premiere->RemplaceExtremite(station, S);
    stations_.erase(station->DesignPTopo);
    g0->Points.Remove(station);
  } else {
    TVisee* v = ViseeNulle(*ACavite, S, station, premiere->LeLever);
    const auto it = serieDeVisee_.find(premiere);
    if (it != serieDeVisee_.end()) {
      serieDeVisee_[v] = it->second;
      v->NumBoucle = static_cast<int32_t>(it->second);
    }
  }
  Reseau->EntreeImport = S;
  PtEntreeSurf = S;
  return true;
}

std::string tImportTopoRobot::NomDeLaGalerie(TVisee* visee) {
  const auto it = serieDeVisee_.find(visee);
  if (it == serieDeVisee_.end() || it->second >= Series.size()) return {};
  return Series[it->second].DesignGal;
}

void tImportTopoRobot::CreeEntreesMultiples() {
  if (EntreesTpRb.size() <= 1 || !ACavite) return;
  survey::TListedePoints* surface = Reseau->LesPointsSurface();
  if (!surface) return;
  survey::TPointsSurface points(*surface);
  bool place = false;
  for (size_t k = 0; k < EntreesTpRb.size(); ++k) {
    const EntreeTpRb& e = EntreesTpRb[k];
    if (!(e.Serie > -1)) continue;
    const std::string nom = NomStation(foundation::Arrondi(e.Serie), foundation::Arrondi(e.Point));
    std::vector<TPointSpeleo*> trouvees;
    for (survey::TGalerie* g : ACavite->Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->DesignPTopo == nom) trouvees.push_back(p);
    for (TPointSpeleo* p : trouvees) {
      const std::string cavite = k < CavitesTpRb.size() ? CavitesTpRb[k] : std::string();
      TPointSpeleo* S = points.AjoutePointImport(Msg(IdMsg::TpRbEntree) + " " + cavite, e.Commentaire, e.X, e.Y,
                                                 e.Z, std::string(), -1);
      if (!p->LstVis.empty()) ViseeNulle(*ACavite, p, S, p->LstVis.front()->LeLever);
      place = true;
    }
  }
  if (place) ACavite->ReGenereListePoints(false);
}

}  // namespace formats
