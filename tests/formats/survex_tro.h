#pragma once
// The test side of the VTopo files: an independent reading of a .tro file's
// lines (for counts), its shots written as a Survex .svx file, and cavern run
// on it with the positions read back from dump3d.
//
// The .svx carries every reading as the file gives it, with Survex's own
// units; the few conversions Survex has no words for (degrees.minutes, a
// thread counter, slopes from the zenith, back-sights) are made here.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/chaines.h"
#include "tests/support/dossier_temp.h"

namespace testformats {

struct BlocTro {
  bool topofil = false;
  double coef = 100;
  std::string az, pente, uniteP;  // the words of the "Param" line
  double decli = 0;
  bool invAz = false, invP = false;
};

struct LigneTro {
  std::string de, a;
  std::vector<std::string> champs;  // the numeric fields, as written
  bool exclue = false;
  bool habi = false;
  int bloc = -1;
};

struct FichierTro {
  std::string entree;
  double x = 0, y = 0, z = 0;
  bool aTrou = false;
  std::vector<BlocTro> blocs;
  std::vector<LigneTro> lignes;
};

inline std::vector<std::string> Mots(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> r;
  std::string m;
  while (in >> m) r.push_back(m);
  return r;
}

inline double Num(const std::string& s) { return foundation::TexteEnReel(s); }

inline FichierTro LitTro(const std::string& octets) {
  FichierTro f;
  std::string texte = octets;
  for (char& c : texte)
    if (c == '\r') c = '\n';
  std::istringstream in(texte);
  std::string ligne;
  bool corps = false;
  while (std::getline(in, ligne)) {
    if (ligne.rfind("[Configuration", 0) == 0) break;
    if (ligne.rfind("Trou ", 0) == 0) {
      std::vector<std::string> c;
      std::stringstream s(ligne.substr(5));
      std::string x;
      while (std::getline(s, x, ',')) c.push_back(x);
      if (c.size() >= 4) {
        f.x = Num(c[1]) * 1000;
        f.y = Num(c[2]) * 1000;
        f.z = Num(c[3]);
        f.aTrou = true;
      }
    } else if (ligne.rfind("Entree ", 0) == 0) {
      f.entree = Mots(ligne.substr(7)).at(0);
    } else if (ligne.rfind("Param ", 0) == 0) {
      corps = true;
      std::string p = ligne.substr(6);
      const size_t virgule = p.find(',');
      const std::vector<std::string> avant = Mots(p.substr(0, virgule));
      BlocTro b;
      size_t k = 0;
      b.topofil = avant.at(k++) == "Topof";
      if (b.topofil) b.coef = Num(avant.at(k++));
      b.az = avant.at(k++);
      b.pente = avant.at(k++);
      if (b.pente != "Deniv" && b.pente != "Prof") b.uniteP = avant.at(k++);
      b.decli = Num(avant.at(k++));
      b.invAz = avant.at(k) == "Inv";
      std::stringstream s(p.substr(virgule + 1));
      std::string second;
      std::getline(s, second, ',');
      b.invP = Mots(second).size() == 1 && Mots(second)[0] == "Inv";
      f.blocs.push_back(b);
    } else if (corps && !Mots(ligne).empty()) {
      LigneTro l;
      const std::string avantCommentaire = ligne.substr(0, ligne.find(';'));
      const std::vector<std::string> m = Mots(avantCommentaire);
      l.de = m.at(0) == "*" && !f.lignes.empty() ? f.lignes.back().a : m.at(0);
      l.a = m.at(1);
      l.habi = l.a == "*";
      const size_t n = f.blocs.back().topofil ? 9 : 8;
      for (size_t i = 2; i < m.size() && i < 2 + n; ++i) l.champs.push_back(m[i]);
      for (size_t i = 2 + n; i < m.size(); ++i)
        if (m[i].find('E') != std::string::npos) l.exclue = true;
      l.bloc = static_cast<int>(f.blocs.size()) - 1;
      f.lignes.push_back(l);
    }
  }
  return f;
}

// Degrees.minutes to degrees, written independently of the program.
inline double DegresMinutes(double v) {
  const double s = v < 0 ? -1 : 1;
  v = std::fabs(v);
  const double d = std::floor(v + 1e-9);
  return s * (d + (v - d) * 100 / 60);
}

// The main, not excluded shots as .svx, the entrance fixed at the "Trou"
// point; nom gives each station's Survex name; convergence in degrees is
// taken off each block's declination.
inline std::string VersSvx(const FichierTro& f, const std::function<std::string(const std::string&)>& nom,
                           double convergence) {
  std::ostringstream o;
  o.precision(12);
  o << "*begin\n*fix " << nom(f.entree) << " " << f.x << " " << f.y << " " << f.z << "\n";
  int bloc = -1;
  double finPrecedente = 0;
  for (const LigneTro& l : f.lignes) {
    const BlocTro& b = f.blocs.at(static_cast<size_t>(l.bloc));
    size_t k = 0;
    double longueur = 0;
    if (b.topofil) {
      double deb;
      if (!foundation::LitReel(foundation::NettoieNombre(l.champs.at(k++)), deb)) deb = finPrecedente;
      const double fin = Num(l.champs.at(k++));
      finPrecedente = fin;
      longueur = std::fabs(fin - deb) * b.coef / 100;
    } else {
      longueur = Num(l.champs.at(k++));
    }
    double az = Num(l.champs.at(k++));
    double p = Num(l.champs.at(k++));
    if (l.habi || l.exclue || l.de == l.a) continue;
    if (l.bloc != bloc) {
      bloc = l.bloc;
      o << "*declination " << (b.decli - convergence) << " degrees\n";
      o << "*units compass " << (b.az == "Gra" ? "grads" : "degrees") << "\n";
      if (b.pente == "Deniv") {
        o << "*data diving from to tape compass depthchange\n";
      } else {
        o << "*units clino " << (b.uniteP == "Gra" ? "grads" : b.uniteP == "%" ? "percent" : "degrees") << "\n";
        o << "*data normal from to tape compass clino\n";
      }
    }
    if (b.az == "Deg") az = DegresMinutes(az);
    if (b.invAz) az += b.az == "Gra" ? 200 : 180;
    std::string mesure;
    if (b.pente == "Deniv") {
      mesure = foundation::ReelEnTexteExact(p);  // cavern takes a depth change upwards
    } else {
      if (b.uniteP == "Deg") p = DegresMinutes(p);
      if (b.pente == "Vulc") p = (b.uniteP == "Gra" ? 100 : 90) - p;
      if (b.invP) p = -p;
      mesure = foundation::ReelEnTexteExact(p);
    }
    o << nom(l.de) << " " << nom(l.a) << " " << foundation::ReelEnTexteExact(longueur) << " "
      << foundation::ReelEnTexteExact(az) << " " << mesure << "\n";
  }
  o << "*end\n";
  return o.str();
}

inline bool CavernPresent() {
  return std::system("command -v cavern >/dev/null 2>&1 && command -v dump3d >/dev/null 2>&1") == 0;
}

// cavern on the .svx; the positions (x, y, z) by station name, or the
// complaint in erreur.
inline std::map<std::string, std::array<double, 3>> PositionsSurvex(const std::string& svx, const std::string& dossier,
                                                                     std::string& erreur) {
  std::map<std::string, std::array<double, 3>> r;
  {
    std::ofstream o(dossier + "/tro.svx", std::ios::binary);
    o << svx;
  }
  auto lance = [](const std::string& commande, std::string& sortie) {
    sortie.clear();
    FILE* f = popen(commande.c_str(), "r");
    if (!f) return -1;
    char t[65536];
    size_t n;
    while ((n = fread(t, 1, sizeof t, f)) > 0) sortie.append(t, n);
    const int etat = pclose(f);
    return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
  };
  std::string sortie;
  if (lance("cd '" + dossier + "' && cavern --quiet tro.svx 2>&1", sortie) != 0 ||
      lance("dump3d '" + dossier + "/tro.3d' 2>&1", sortie) != 0) {
    erreur = sortie;
    return r;
  }
  std::istringstream lignes(sortie);
  std::string ligne;
  while (std::getline(lignes, ligne)) {
    if (ligne.rfind("NODE ", 0) != 0) continue;
    std::istringstream m(ligne.substr(5));
    std::string x, y, z, n;
    m >> x >> y >> z >> n;
    if (n.size() < 3) continue;
    std::array<double, 3> p{};
    if (foundation::LitReel(x, p[0]) && foundation::LitReel(y, p[1]) && foundation::LitReel(z, p[2]))
      r[n.substr(1, n.size() - 2)] = p;
  }
  return r;
}

}  // namespace testformats
