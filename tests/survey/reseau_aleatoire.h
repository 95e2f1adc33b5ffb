#pragma once
// A loop-free cave generated at random: a tree of shots grown from entrance
// E1, each new station hung on one of the recent ones (long galleries with
// side branches).  With Variete the shots take every entry type, thread
// counters, back-sights, reversed storage, and the trips every unit, slope
// zero, declination and calibration; without it they are plain tape, compass
// and clino shots in degrees.
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/survey/reseau_calcul.h"

namespace testsurvey {

struct OptionsAleatoires {
  int Visees = 1000;
  uint32_t Graine = 1;
  bool Variete = true;
};

inline TCavite* GenereCaviteAleatoire(ReseauCalcul& n, const OptionsAleatoires& o, const std::string& nom = "Aléatoire") {
  std::mt19937 g(o.Graine);
  auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
  auto chance = [&](double p) { return uni(0, 1) < p; };
  n.Surface("E1", 1000, 2000, 500);
  TCavite* c = n.Cavite(nom);
  std::vector<std::string> stations{"E1"};
  std::vector<TVisee*> creatrice{nullptr};  // the shot that reached each station
  TLever* lever = nullptr;
  for (int i = 0; i < o.Visees; ++i) {
    if (o.Variete && i % 40 == 0) {
      lever = n.Lever(c);
      lever->UniteAZ = chance(0.3) ? 1 : 0;
      const double r = uni(0, 1);
      lever->UniteP = r < 0.2 ? 2 : (r < 0.4 ? 1 : 0);
      lever->ZeroPente = lever->UniteP == 2 ? 0 : (chance(0.2) ? (chance(0.5) ? 1 : -1) : 0);
      const double d = uni(0, 1);
      lever->UniteDeclin = d < 0.3 ? UniteDeclinAucune : (d < 0.6 ? UniteDeclinGrades : UniteDeclinDegres);
      lever->Declinaison = uni(-5, 5);
      lever->Topofil = chance(0.2);
      lever->EtalonL = lever->Topofil ? uni(0.0098, 0.0102) : uni(0.98, 1.02);
    }
    if (o.Variete && i % 200 == 0 && i > 0) {
      std::string galerie = "Galerie ";
      galerie += std::to_string(i / 200);
      c->AjouteGalerie(galerie);
    }
    // Mostly the last stations: long passages with side branches.
    const size_t k = stations.size();
    const size_t parent = chance(0.85) ? k - 1 - std::min<size_t>(k - 1, static_cast<size_t>(uni(0, 3)))
                                       : static_cast<size_t>(uni(0, static_cast<double>(k)));
    std::string nouvelle = "s";
    nouvelle += std::to_string(i);
    const bool inverse = o.Variete && chance(0.2);
    TVisee* v = inverse ? n.Visee(c, nouvelle, stations[parent], 0, 0, 0, lever)
                        : n.Visee(c, stations[parent], nouvelle, 0, 0, 0, lever);
    v->Az = uni(0, lever && lever->UniteAZ == 1 ? 400 : 360);
    const double longueur = uni(0.5, 25);
    if (!o.Variete) {
      v->pente = uni(-80, 80);
      v->Long = longueur;
    } else {
      const TLever& l = lever ? *lever : *LeverParDefaut();
      const double t = uni(0, 1);
      v->Typesaisie = t < 0.6 ? 0 : (t < 0.7 ? 1 : (t < 0.8 ? 2 : (t < 0.9 ? 3 : 4)));
      v->InvAz = chance(0.1);
      v->InvP = chance(0.1);
      // A slope angle in degrees, then in the trip's unit and zero.
      double degres = chance(0.03) ? (chance(0.5) ? 90 : -90) : uni(-85, 85);
      if (v->Typesaisie == SaisiePenteLongueurHoriz) degres = uni(-60, 60);
      double lecture = l.UniteP == 1 ? degres * 400 / 360 : degres;
      const double droit = l.UniteP == 1 ? 100 : 90;
      if (l.UniteP == 2) lecture = std::tan(std::clamp(degres, -80.0, 80.0) * 3.14159265358979 / 180) * 100;
      else if (l.ZeroPente == 1) lecture = droit - lecture;
      else if (l.ZeroPente == -1) lecture = droit + lecture;
      const double k = l.Topofil ? 1.0 : l.EtalonL;
      switch (v->Typesaisie) {
        case SaisiePenteLongueur:
          v->pente = lecture;
          if (l.Topofil && chance(0.5)) {
            v->SaisieTopoFil = true;
            v->TopofilDeb = static_cast<int32_t>(uni(0, 100000));
            v->TopofilFin = v->TopofilDeb + static_cast<int32_t>(longueur / l.EtalonL);
          } else {
            v->Long = longueur / k;
          }
          break;
        case SaisiePenteLongueurHoriz:
          v->pente = lecture;
          v->LH = longueur / k;
          break;
        case SaisieDenivLongueur:
          v->Long = longueur;
          v->Deniv = uni(-0.95, 0.95) * longueur;
          break;
        case SaisieDenivLongueurHoriz:
          v->LH = longueur;
          v->Deniv = uni(-20, 20);
          break;
        default: {
          const TVisee* avant = creatrice[parent];
          const double precedente =
              avant && avant->Typesaisie == SaisieProfondeurLongueur && !inverse ? avant->Deniv : 0;
          v->Long = longueur;
          // Depth shots follow each other only forwards; a reversed one reads
          // from 0 (its previous shot in the walk is not known here).
          v->Deniv = precedente + uni(-0.9, 0.9) * longueur;
          if (inverse) v->Typesaisie = SaisieDenivLongueur;
          break;
        }
      }
    }
    stations.push_back(nouvelle);
    creatrice.push_back(v);
  }
  n.Regenere();
  return c;
}

// Adds entrances at the exact computed positions of a few stations' ends: a
// shot from the station to a new surface point placed where the shot ends.
inline void AjouteEntreesCoherentes(ReseauCalcul& n, TCavite* c, int nombre, uint32_t graine) {
  std::mt19937 g(graine);
  n.R().CalculeReseau();
  const int nb = c->ListePoints.Count();
  for (int i = 0; i < nombre; ++i) {
    TPointSpeleo* p = c->ListePoints.Item(static_cast<int>(g() % static_cast<uint32_t>(nb)));
    const double az = 40.0 * (i + 1), pente = 20, l = 12;
    const double r = 3.14159265358979323846 / 180;
    const double x = p->X + l * std::cos(pente * r) * std::sin(az * r);
    const double y = p->Y + l * std::cos(pente * r) * std::cos(az * r);
    const double z = p->Z + l * std::sin(pente * r);
    std::string nom = "E";
    nom += std::to_string(i + 2);
    n.Surface(nom, x, y, z);
    n.Visee(c, p->DesignPTopo, nom, az, pente, l);
  }
  n.Regenere();
}

}  // namespace testsurvey
