#pragma once
// Survex as an outside oracle for the reduction and the computation: the
// caves of a network are written as one .svx file (every reading as it was
// measured, with the trip's units, calibrations and declination, so that
// Survex does its own reduction), Debian's `cavern` processes it, and the
// station positions are read back from `dump3d` (the .3d file holds
// centimetres).
//
// Stations are named by position so that no name of ours needs quoting:
// "e<i>" for surface point i, "c<j>_<k>" for station k of cave j.
#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/chaines.h"
#include "survey/cavite.h"
#include "survey/lever.h"
#include "tests/support/dossier_temp.h"

namespace testsurvey {

using Position = std::array<double, 3>;

struct ResultatSurvex {
  bool Ok = false;
  std::string Erreur;                          // cavern's or dump3d's complaint
  std::map<std::string, Position> Positions;   // by svx station name
};

inline bool CavernDisponible() {
  return std::system("command -v cavern >/dev/null 2>&1 && command -v dump3d >/dev/null 2>&1") == 0;
}

// Runs a shell command, returns its standard output and exit code.
inline int LanceCommande(const std::string& commande, std::string& sortie) {
  sortie.clear();
  FILE* f = popen(commande.c_str(), "r");
  if (!f) return -1;
  char tampon[65536];
  size_t n;
  while ((n = fread(tampon, 1, sizeof tampon, f)) > 0) sortie.append(tampon, n);
  const int etat = pclose(f);
  return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

// cavern on a .svx text, the NODE lines of dump3d read back.
inline ResultatSurvex LanceCavern(const std::string& svx, const std::string& dossier) {
  ResultatSurvex r;
  const std::string fichier = dossier + "/reseau.svx";
  {
    std::ofstream o(fichier, std::ios::binary);
    o << svx;
  }
  std::string sortie;
  if (LanceCommande("cd '" + dossier + "' && cavern --quiet reseau.svx 2>&1", sortie) != 0) {
    r.Erreur = sortie;
    return r;
  }
  if (LanceCommande("dump3d '" + dossier + "/reseau.3d' 2>&1", sortie) != 0) {
    r.Erreur = sortie;
    return r;
  }
  std::istringstream lignes(sortie);
  std::string ligne;
  while (std::getline(lignes, ligne)) {
    if (ligne.rfind("NODE ", 0) != 0) continue;
    std::istringstream mots(ligne.substr(5));
    std::string x, y, z, nom;
    mots >> x >> y >> z >> nom;
    if (nom.size() < 2) continue;
    Position p{};
    if (!foundation::LitReel(x, p[0]) || !foundation::LitReel(y, p[1]) || !foundation::LitReel(z, p[2])) continue;
    r.Positions[nom.substr(1, nom.size() - 2)] = p;
  }
  r.Ok = true;
  return r;
}

// cavern's "Total length of survey legs" (metres, two decimals) on a .svx
// text; a negative value when cavern fails.
inline double LongueurLevesSurvex(const std::string& svx, const std::string& dossier, std::string& erreur) {
  {
    std::ofstream o(dossier + "/longueur.svx", std::ios::binary);
    o << svx;
  }
  std::string sortie;
  if (LanceCommande("cd '" + dossier + "' && cavern longueur.svx 2>&1", sortie) != 0) {
    erreur = sortie;
    return -1;
  }
  const std::string cle = "Total length of survey legs =";
  const size_t i = sortie.find(cle);
  double longueur = -1;
  if (i == std::string::npos) {
    erreur = sortie;
    return -1;
  }
  std::istringstream mots(sortie.substr(i + cle.size()));
  std::string mot;
  mots >> mot;  // "123.45m"
  if (!mot.empty() && mot.back() == 'm') mot.pop_back();
  if (!foundation::LitReel(mot, longueur)) erreur = sortie;
  return longueur;
}

// Writes the caves of a network (caves[0] is the surface) as .svx text.
class EcrivainSvx {
 public:
  explicit EcrivainSvx(const foundation::TListeFichier<survey::TCavite>& cavites) : cavites_(cavites) {
    int j = 0;
    for (const survey::TCavite* c : cavites_) {
      int k = 0;
      for (const survey::TGalerie* g : c->Galeries)
        for (const survey::TPointSpeleo* p : g->Points) {
          std::string nom = p->EstPointSurface() ? "e" : "c";
          if (!p->EstPointSurface()) {
            nom += std::to_string(j);
            nom += '_';
          }
          nom += std::to_string(k++);
          noms_[p] = nom;
        }
      ++j;
    }
  }

  const std::string& Nom(const survey::TPointSpeleo* p) const { return noms_.at(p); }

  std::string Texte() {
    o_.str({});
    o_ << "*begin\n";
    // The surface points the caves touch are fixed.
    for (const survey::TCavite* c : cavites_)
      for (const survey::TPointSpeleo* e : c->ListeEntrees)
        if (fixes_.insert({e, true}).second)
          o_ << "*fix " << Nom(e) << ' ' << R(e->X) << ' ' << R(e->Y) << ' ' << R(e->Z) << "\n*entrance " << Nom(e)
             << '\n';
    for (const survey::TCavite* c : cavites_)
      if (!c->EstSurface) EcritCavite(*c);
    o_ << "*end\n";
    return o_.str();
  }

 private:
  static std::string R(double x) { return foundation::ReelEnTexteExact(x); }

  void Commande(const std::string& cle, const std::string& valeur) {
    auto& actuelle = etat_[cle];
    if (actuelle == valeur) return;
    actuelle = valeur;
    o_ << valeur << '\n';
  }

  void EcritCavite(const survey::TCavite& c) {
    for (const survey::TVisee* v : c.Visees) {
      if (!v->PointStation || !v->PointVise) continue;
      EcritVisee(*v);
    }
  }

  // The depth reading before this shot's: the origin's arriving shot's when it
  // is also a depth shot.
  static double ProfondeurPrecedente(const survey::TVisee& v) {
    const survey::TVisee* a = v.ViseePreced();
    return a && a->Typesaisie == survey::SaisieProfondeurLongueur ? a->Deniv : 0;
  }

  void EcritVisee(const survey::TVisee& v) {
    using namespace survey;
    const TLever& l = v.LeLever ? *v.LeLever : *LeverParDefaut();
    const std::string deDa = Nom(v.PointStation) + ' ' + Nom(v.PointVise) + ' ';
    // An excluded shot counts in no length: a duplicate for Survex.
    Commande("flags", v.EstExclue() ? "*flags duplicate" : "*flags not duplicate");
    Commande("compass", l.UniteAZ == 1 ? "*units compass backcompass grads" : "*units compass backcompass degrees");
    std::string decl = "*declination 0 degrees";
    if (l.UniteDeclin == UniteDeclinGrades)
      decl = "*declination " + R(l.Declinaison) + " grads";
    else if (l.UniteDeclin != UniteDeclinAucune)
      decl = "*declination " + R(l.Declinaison) + " degrees";
    Commande("declination", decl);
    const double k = (l.Topofil && !v.SaisieTopoFil) ? 1.0 : l.EtalonL;
    const double longueurCompteur =
        k * std::fabs(static_cast<double>(v.TopofilDeb) - static_cast<double>(v.TopofilFin));
    const std::string az = R(v.Az);
    const std::string colAz = v.InvAz ? "backcompass" : "compass";
    switch (v.Typesaisie) {
      case SaisiePenteLongueur: {
        // Slope unit and zero, read by Survex.
        if (l.UniteP == 2) {
          Commande("clino", "*units clino backclino percent");
          Commande("calclino", "*calibrate clino backclino 0 1");
        } else {
          Commande("clino", l.UniteP == 1 ? "*units clino backclino grads" : "*units clino backclino degrees");
          const std::string angleDroit = l.UniteP == 1 ? "100" : "90";
          if (l.ZeroPente == 1)
            Commande("calclino", "*calibrate clino backclino " + angleDroit + " -1");
          else if (l.ZeroPente == -1)
            Commande("calclino", "*calibrate clino backclino " + angleDroit + " 1");
          else
            Commande("calclino", "*calibrate clino backclino 0 1");
        }
        const std::string colP = v.InvP ? "backclino" : "clino";
        if (v.SaisieTopoFil) {
          Commande("calcompteur", "*calibrate counter 0 " + R(l.EtalonL));
          const int32_t a = std::min(v.TopofilDeb, v.TopofilFin), b = std::max(v.TopofilDeb, v.TopofilFin);
          Commande("data", "*data normal from to fromcount tocount " + colAz + ' ' + colP);
          o_ << deDa << a << ' ' << b << ' ' << az << ' ' << R(v.pente) << '\n';
        } else {
          Commande("caltape", "*calibrate tape 0 " + R(k));
          Commande("data", "*data normal from to tape " + colAz + ' ' + colP);
          o_ << deDa << R(v.Long) << ' ' << az << ' ' << R(v.pente) << '\n';
        }
        break;
      }
      case SaisiePenteLongueurHoriz: {
        // Survex has no horizontal length with a slope: the length along the shot.
        const double lh = v.SaisieTopoFil ? longueurCompteur : k * v.LH;
        const double p = v.PEnRad() * (v.InvP ? -1 : 1);
        Commande("caltape", "*calibrate tape 0 1");
        Commande("clino", "*units clino backclino degrees");
        Commande("calclino", "*calibrate clino backclino 0 1");
        Commande("data", "*data normal from to tape " + colAz + " clino");
        o_ << deDa << R(lh / std::cos(p)) << ' ' << az << ' ' << R(p * 180 / 3.14159265358979323846) << '\n';
        break;
      }
      case SaisieDenivLongueur:
      case SaisieProfondeurLongueur: {
        const double longueur = v.SaisieTopoFil ? longueurCompteur : v.Long;
        Commande("caltape", "*calibrate tape 0 1");
        const double signe = v.InvP ? -1 : 1;
        if (v.Typesaisie == SaisieDenivLongueur || v.InvP || v.InvAz) {
          double dz = v.Deniv;
          if (v.Typesaisie == SaisieProfondeurLongueur) dz -= ProfondeurPrecedente(v);
          Commande("data", "*data diving from to tape compass depthchange");
          o_ << deDa << R(longueur) << ' ' << R(v.InvAz ? v.Az + (l.UniteAZ == 1 ? 200 : 180) : v.Az) << ' '
             << R(signe * dz) << '\n';
        } else {
          Commande("data", "*data diving from to tape compass fromdepth todepth");
          o_ << deDa << R(longueur) << ' ' << az << ' ' << R(ProfondeurPrecedente(v)) << ' ' << R(v.Deniv) << '\n';
        }
        break;
      }
      case SaisieDenivLongueurHoriz: {
        const double lh = v.SaisieTopoFil ? longueurCompteur : v.LH;
        Commande("caltape", "*calibrate tape 0 1");
        Commande("data", "*data cylpolar from to tape compass depthchange");
        o_ << deDa << R(lh) << ' ' << R(v.InvAz ? v.Az + (l.UniteAZ == 1 ? 200 : 180) : v.Az) << ' '
           << R((v.InvP ? -1 : 1) * v.Deniv) << '\n';
        break;
      }
      default: break;
    }
  }

  const foundation::TListeFichier<survey::TCavite>& cavites_;
  std::unordered_map<const survey::TPointSpeleo*, std::string> noms_;
  std::unordered_map<const survey::TPointSpeleo*, bool> fixes_;
  std::map<std::string, std::string> etat_;
  std::ostringstream o_;
};

}  // namespace testsurvey
