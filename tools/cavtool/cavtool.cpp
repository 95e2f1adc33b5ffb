// cavtool: a command-line instrument for the tests (not a user feature).
//
//   cavtool roundtrip IN.cav OUT.cav
//       reads a document with its companion file and writes both back at the
//       current level; exit 1 with the French message on standard error.
//   cavtool declination YEAR LAT LON ALT
//       the declination in degrees (8 decimals) at a decimal year, a latitude
//       and longitude in degrees and an altitude in metres.
//   cavtool convert [--region N] [--zone Z] [--zone-cible Z] FROM TO X Y [Z]
//       one point from one catalogue system to another: X Y Z with 4
//       decimals (10 for geographic degrees), or the service's error code on
//       standard error and exit 1.  Geographic coordinates are latitude and
//       longitude in degrees.
//   cavtool compute FILE.cav
//       the whole network computed: "cave;station;x;y;z" for every computed
//       station, warnings on standard error.
//   cavtool levers FILE.cav
//       the survey trips as stored, nothing computed:
//       "cave;date;declination;unit;auto" for every trip of every cave.
//   cavtool import [--type N] [--cavite RANG] FILE OUT.cav
//       a new network with FILE imported (file type N of the import
//       dispatcher, by default the type of its extension; every
//       question answered with its default, the gallery memory kept in the
//       program's working folder), written to OUT.cav; exit 1 with the
//       French message on standard error.  --cavite: the cave of a
//       TopoRobot file holding several (from 1, default 1).
//   cavtool export {csv|tro} FILE.cav OUT [--cavite NOM] [--numerotation-vtopo]
//       the network read and computed, one cave (the first by default)
//       written to OUT as CSV or VTopo text (station names kept unless the
//       VTopo numbering is asked); exit 1 with the French message.
//   cavtool export {gpx|kml|dxf} IN.cav OUT [--sans-points]
//       the network read and computed, written to OUT as GPX, KML or DXF
//       (surface points left out with --sans-points).
//   cavtool export svg IN.cav OUT.svg [--alti] [--echelle N]
//       the network computed, the plan of every cave (with --alti the
//       active cave's elevation) written to OUT.svg as a view's SVG button
//       writes it (at 1:N when given); exit 1 with the French message.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/composition.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/flux.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "projections/ancetre.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/regions.h"
#include "projections/services.h"
#include "survey/contexte_document.h"
#include "survey/declinaison.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "tools/cavtool/calcul_cavtool.h"
#include "tools/cavtool/export_cavtool.h"
#include "tools/cavtool/export_geo_cavtool.h"
#include "tools/cavtool/import_cavtool.h"
#include "tools/cavtool/levers_cavtool.h"
#include "tools/cavtool/vues_cavtool.h"

namespace {

// Messages go to standard error; every question is answered no.
class TDialoguesConsole : public platform::Dialogs {
 public:
  void ShowMessage(platform::MessageKind, const std::string& text, const std::string&) override {
    std::cerr << text << '\n';
  }
  platform::Answer AskYesNo(const std::string&, const std::string&) override { return platform::Answer::No; }
  platform::Answer AskYesNoCancel(const std::string&, const std::string&) override {
    return platform::Answer::Cancel;
  }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<platform::FileChoice> SaveFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  std::optional<platform::FileChoice> OpenFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
};

int Usage() {
  std::cerr << "usage: cavtool roundtrip IN.cav OUT.cav\n"
               "       cavtool declination YEAR LAT LON ALT\n"
               "       cavtool convert [--region N] [--zone Z] [--zone-cible Z] FROM TO X Y [Z]\n"
               "       cavtool compute FILE.cav\n"
               "       cavtool levers FILE.cav\n"
               "       cavtool import [--type N] [--cavite RANG] FILE OUT.cav\n"
               "       cavtool export {csv|tro} FILE.cav OUT [--cavite NOM] [--numerotation-vtopo]\n"
               "       cavtool export {gpx|kml|dxf} IN.cav OUT [--sans-points]\n"
               "       cavtool export svg IN.cav OUT.svg [--alti] [--echelle N]\n"
               "       cavtool plan FILE.cav OUT.png [--largeur W --hauteur H]\n"
               "       cavtool coupe FILE.cav CAVITE OUT.png\n";
  return 2;
}

bool Reel(const std::string& s, double& x) { return foundation::LitReel(s, x); }

std::string Fixe(double x, int decimales) { return foundation::ReelEnTexteFixe(x, decimales); }

int AllerRetour(const std::string& entree, const std::string& sortie) {
  document::InstalleDocument();
  survey::ContexteDocument& doc = survey::Document();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(entree);
  if (!reseau) return 1;
  // As after opening: the companion file, then the active cave.
  doc.NomFichierCourant = entree;
  reseau->LitFichierConfig();
  survey::TListeCavites liste;
  reseau->AfficheListeCavites(liste, false);
  foundation::TFluxMemoire flux;
  if (!reseau->Ecrit(flux) || !platform::WriteFileAtomic(sortie, flux.Octets())) {
    std::cerr << "le fichier " << sortie << " n'a pas pu être enregistré\n";
    return 1;
  }
  doc.NomFichierCourant = sortie;
  return reseau->EcritFichierConfig() ? 0 : 1;
}

int Declinaison(const std::vector<std::string>& a) {
  double annee, lat, lon, alt;
  if (a.size() != 4 || !Reel(a[0], annee) || !Reel(a[1], lat) || !Reel(a[2], lon) || !Reel(a[3], alt)) return Usage();
  const double d = survey::CalculeDeclinaisonIGRF(annee, lat, lon, alt) * 180 / std::numbers::pi;
  std::cout << Fixe(d, 8) << '\n';
  return 0;
}

int Convertit(std::vector<std::string> a) {
  int region = 0;
  int32_t zone = 0, zoneCible = projections::ZoneAutomatique - 1;
  while (a.size() >= 2 && a[0].rfind("--", 0) == 0) {
    int32_t n;
    if (!foundation::LitEntier(a[1], n)) return Usage();
    if (a[0] == "--region")
      region = n;
    else if (a[0] == "--zone")
      zone = n;
    else if (a[0] == "--zone-cible")
      zoneCible = n;
    else
      return Usage();
    a.erase(a.begin(), a.begin() + 2);
  }
  double x, y, z = 0;
  if ((a.size() != 4 && a.size() != 5) || !Reel(a[2], x) || !Reel(a[3], y) || (a.size() == 5 && !Reel(a[4], z)))
    return Usage();
  if (!projections::ChargeListeProjections(region)) return Usage();
  const std::string& de = a[0];
  const std::string& vers = a[1];
  const projections::TDonnees& cat = projections::CatalogueProjections();
  const projections::TDatum* datumSource = cat.UnDatum(de);
  const projections::TDatum* datumCible = cat.UnDatum(vers);
  constexpr double rad = std::numbers::pi / 180;
  double xc = 0, yc = 0;
  int code = projections::CodeFait;
  if (datumSource && datumCible) {
    try {
      double gx, gy, gz;
      datumSource->VersCartesien(x * rad, y * rad, false, gx, gy, gz);
      datumCible->VersLatLong(gx, gy, gz, false, xc, yc);
      xc /= rad;
      yc /= rad;
      if (!std::isfinite(xc) || !std::isfinite(yc)) code = projections::CodeErreur;
    } catch (const projections::EErreurProjection&) {
      code = projections::CodeErreur;
    }
  } else if (datumSource) {
    code = projections::DatumVersGrille(de, vers, x * rad, y * rad, xc, yc, zoneCible);
  } else if (datumCible) {
    code = projections::GrilleVersDatum(de, zone, x, y, vers, xc, yc);
    xc /= rad;
    yc /= rad;
  } else {
    code = projections::GrilleVersGrille(de, zone, x, y, vers, xc, yc, zoneCible);
  }
  if (code != projections::CodeFait) {
    std::cerr << code << '\n';
    return 1;
  }
  const int decimales = datumCible ? 10 : 4;
  std::cout << Fixe(xc, decimales) << ' ' << Fixe(yc, decimales) << ' ' << Fixe(z, 4) << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TDialoguesConsole console;
  platform::ScopedDialogs garde(console);
  if (argc < 2) return Usage();
  const std::string verbe = argv[1];
  std::vector<std::string> a(argv + 2, argv + argc);
  try {
    if (verbe == "roundtrip" && a.size() == 2) return AllerRetour(a[0], a[1]);
    if (verbe == "declination") return Declinaison(a);
    if (verbe == "convert") return Convertit(a);
    // The exports of georeferenced formats.
    if (verbe == "export" && !a.empty() && cavtool::ExportGeoConnu(a[0])) {
      const int r = cavtool::ExporteGeo(a);
      return r == 2 ? Usage() : r;
    }
#ifdef CAVTOOL_VUES
    if (verbe == "plan") {
      const int r = cavtool::VuePlan(a);
      return r == 2 ? Usage() : r;
    }
    if (verbe == "coupe") {
      const int r = cavtool::VueCoupe(a);
      return r == 2 ? Usage() : r;
    }
#endif
    if (verbe == "compute" && a.size() == 1) return cavtool::CalculeFichier(a[0]);
    if (verbe == "levers" && a.size() == 1) return cavtool::ListeLevers(a[0]);
    if (verbe == "import" && a.size() == 2) return cavtool::ImporteFichier(a[0], a[1]);
    if (verbe == "import" && a.size() >= 4 && a.size() % 2 == 0) {
      // Options before the two paths, each with its value.
      int type = 0;
      int32_t rang = 1;
      for (size_t i = 0; i + 2 < a.size(); i += 2) {
        int32_t valeur = 0;
        if (!foundation::LitEntier(a[i + 1], valeur)) return Usage();
        if (a[i] == "--type" && valeur >= 1) {
          type = valeur;
        } else if (a[i] == "--cavite" && valeur >= 1) {
          rang = valeur;
        } else {
          return Usage();
        }
      }
      return cavtool::ImporteFichier(a[a.size() - 2], a[a.size() - 1], type, rang);
    }
    if (verbe == "export")
      if (const int r = cavtool::ExporteFichier(a); r != 2) return r;
  } catch (const std::runtime_error& e) {
    std::cerr << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    // A programming error, not a bad file.
    std::cerr << foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::AppErreurInterne), {e.what()}) << '\n';
    return 1;
  }
  return Usage();
}
