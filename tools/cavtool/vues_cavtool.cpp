#include "tools/cavtool/vues_cavtool.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <iostream>
#include <memory>
#include <string_view>

#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/visees_dessin.h"
#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"
#include "platform/files.h"
#include "platform/qt/qt_canvas.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "views/noyau_visu_dessin.h"

namespace cavtool {

namespace {

// The views' models with a paint box of the picture's size.
class TPlanSansFenetre : public views::TNoyauVisuPlan {
 public:
  TPlanSansFenetre(int32_t w, int32_t h) { FixeTailleBoite(w, h); }
};
class TCoupeSansFenetre : public views::TNoyauVisuCoupe {
 public:
  TCoupeSansFenetre(int32_t w, int32_t h) { FixeTailleBoite(w, h); }
};

// The Qt image canvas needs a GUI application for its fonts: an offscreen
// one unless the caller chose a platform.
std::unique_ptr<QGuiApplication> Application() {
  if (QCoreApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char nom[] = "cavtool";
  static char* argv[] = {nom, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// The document opened as the current network, with its active cave as
// after opening.
std::unique_ptr<survey::TReseau> Ouvre(const std::string& fichier) {
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(fichier);
  if (!reseau) return nullptr;
  survey::Document().NomFichierCourant = fichier;
  reseau->LitFichierConfig();
  survey::TListeCavites liste;
  reseau->AfficheListeCavites(liste, false);
  survey::Document().ReseauCourant = reseau.get();
  return reseau;
}

// Framed on the whole network, drawn, written, the transform printed.
int Dessine(views::TNoyauVisuDessin& vue, const std::string& sortie) {
  vue.Cree();
  if (!vue.FicheOuverte) return 1;
  vue.ZoomeCavite(vue.ZoomGeneral);
  const auto* image = dynamic_cast<const platform::QtCanvas*>(vue.BmpDessin.get());
  if (!image) return 1;
  QByteArray octets;
  QBuffer tampon(&octets);
  tampon.open(QIODevice::WriteOnly);
  if (!image->Image().save(&tampon, "PNG") ||
      !platform::WriteFileAtomic(sortie, std::string_view(octets.constData(), static_cast<size_t>(octets.size())))) {
    std::cerr << "le fichier " << sortie << " n'a pas pu être enregistré\n";
    return 1;
  }
  const foundation::ContexteVue& v = foundation::Vue();
  const bool alti = foundation::EstDessinAlti();
  const double x0 = (alti ? v.SLmin : v.Xmin) + v.XDebVue;
  const double y0 = (alti ? v.Zmin : v.Ymin) + v.YDebVue;
  std::cout << "origine " << foundation::ReelEnTexteFixe(x0, 6) << ' ' << foundation::ReelEnTexteFixe(y0, 6) << '\n'
            << "echelle " << foundation::ReelEnTexteFixe(v.EchelleVue, 9) << '\n';
  return 0;
}

struct Dessin {
  Dessin() : application(Application()) {}
  std::unique_ptr<QGuiApplication> application;
  platform::QtCanvasFactory qt;
  platform::ScopedCanvasFactory fabrique{qt};
  foundation::GardeTransfo transfo;
};

}  // namespace

int VuePlan(const std::vector<std::string>& a) {
  if (a.size() != 2 && a.size() != 6) return 2;
  int32_t largeur = 1200, hauteur = 900;
  for (size_t i = 2; i + 1 < a.size(); i += 2) {
    int32_t n = 0;
    if (!foundation::LitEntier(a[i + 1], n) || n < 16 || n > 20000) return 2;
    if (a[i] == "--largeur")
      largeur = n;
    else if (a[i] == "--hauteur")
      hauteur = n;
    else
      return 2;
  }
  Dessin d;
  std::unique_ptr<survey::TReseau> reseau = Ouvre(a[0]);
  if (!reseau) return 1;
  foundation::GardeTypeDessin type(foundation::TTypeDeDessin::tddPlani);
  int r = 1;
  {
    TPlanSansFenetre vue(largeur, hauteur);
    r = Dessine(vue, a[1]);
  }
  survey::Document().ReseauCourant = nullptr;
  return r;
}

int VueCoupe(const std::vector<std::string>& a) {
  if (a.size() != 3) return 2;
  Dessin d;
  std::unique_ptr<survey::TReseau> reseau = Ouvre(a[0]);
  if (!reseau) return 1;
  survey::TCavite* cavite = nullptr;
  for (survey::TCavite* c : reseau->Cavites)
    if (!c->EstSurface && c->NomCavite == a[1]) cavite = c;
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(cavite);
  if (!cavite || !annexe) {
    std::cerr << "pas de cavité " << a[1] << '\n';
    survey::Document().ReseauCourant = nullptr;
    return 1;
  }
  reseau->LaCaviteActive = cavite;
  // The cave's whole developed elevation (made for the picture when the
  // cave has none; the document is not written).
  drawing::TDonneesCoupeLong* coupe = nullptr;
  for (int i = 0; i < annexe->LesCoupesLong.Count(); ++i)
    if (drawing::TDonneesCoupeLong* c = annexe->UneCoupeLong(i);
        c && !c->Partielle && c->TypeDeDessin() == foundation::TTypeDeDessin::tddAltiDev)
      coupe = c;
  if (!coupe)
    coupe = annexe->LesCoupesLong.AjouteDonneeCoupe(foundation::TTypeDeDessin::tddAltiDev,
                                                    drawing::TViseesDeRef(&cavite->Visees), false, "Développée");
  annexe->LeDessinAlti = coupe;
  foundation::GardeTypeDessin type(foundation::TTypeDeDessin::tddAltiDev);
  int r = 1;
  {
    TCoupeSansFenetre vue(1200, 900);
    r = Dessine(vue, a[2]);
  }
  survey::Document().ReseauCourant = nullptr;
  return r;
}

}  // namespace cavtool
