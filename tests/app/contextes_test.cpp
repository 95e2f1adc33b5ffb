// One guard sets every folder's context aside and puts it back: what a test
// changes in any of them, the pattern context with its Therion set included,
// is gone after the guard.
#include <gtest/gtest.h>

#include <string>

#include "app/commun/contexte_app.h"
#include "drawing/contexte_drawing.h"
#include "formats/contexte_formats.h"
#include "foundation/contexte_foundation.h"
#include "projections/contexte_projections.h"
#include "survey/contexte_survey.h"
#include "tests/support/garde_contextes.h"
#include "views/contexte_views.h"

namespace {

TEST(GardeContextes, RemetChaqueContexteEnPlace) {
  const int32_t version = foundation::NiveauFichier().VersionFichierLue;
  const size_t lignes = projections::Projections().ListeRegionCourante.size();
  const std::string nom = survey::Document().NomFichierCourant;
  const uint32_t filigrane = drawing::Dessin().CouleurFiligrane;
  const drawing::tListeMtf* therion = drawing::Motifs().ListesMtfTherion.get();
  const int traitsTherion = therion->ListeTraits.Count();
  const int32_t taille = drawing::Motifs().FonteSurface.Taille;
  const std::string projection = formats::Import().ProjectionImport;
  const int32_t echelle = foundation::Impression().EchellePrn;
  const uint32_t couleur = app::Config().CouleurFiligrane;
  const bool voirSuites = static_cast<bool>(survey::Ports().VoirSuites);
  const bool fichierRecent = static_cast<bool>(survey::Fabriques().AjouteFichierRecent);
  const bool nombreCavites = static_cast<bool>(views::Ports().NombreCavites);
  {
    testsupport::GardeContextes garde;
    foundation::NiveauFichier().VersionFichierLue = 3;
    projections::Projections().ListeRegionCourante.push_back("Ligne ajoutée");
    survey::Document().NomFichierCourant = "/ailleurs/Autre.cav";
    survey::Ports().VoirSuites = nullptr;
    survey::Fabriques().AjouteFichierRecent = nullptr;
    if (!voirSuites) survey::Ports().VoirSuites = [](survey::TPointSpeleo&) {};
    if (!fichierRecent) survey::Fabriques().AjouteFichierRecent = [](const std::string&, int32_t) {};
    drawing::Dessin().CouleurFiligrane = filigrane + 1;
    // The pattern context is a fresh one meanwhile, built on first use.
    EXPECT_NE(drawing::Motifs().ListesMtfTherion.get(), therion);
    EXPECT_EQ(drawing::Motifs().ListesMtfTherion->ListeTraits.Count(), traitsTherion);
    drawing::Motifs().FonteSurface.Taille = taille + 5;
    drawing::Motifs().ListesMtfTherion->ListeTraits.Clear();
    formats::Import().ProjectionImport = "UTM";
    foundation::Impression().EchellePrn = echelle + 100;
    views::Ports().NombreCavites = nullptr;
    if (!nombreCavites) views::Ports().NombreCavites = [] { return 12; };
    app::Config().CouleurFiligrane = couleur + 1;
  }
  EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, version);
  EXPECT_EQ(projections::Projections().ListeRegionCourante.size(), lignes);
  EXPECT_EQ(survey::Document().NomFichierCourant, nom);
  EXPECT_EQ(static_cast<bool>(survey::Ports().VoirSuites), voirSuites);
  EXPECT_EQ(static_cast<bool>(survey::Fabriques().AjouteFichierRecent), fichierRecent);
  EXPECT_EQ(drawing::Dessin().CouleurFiligrane, filigrane);
  EXPECT_EQ(drawing::Motifs().ListesMtfTherion.get(), therion);
  EXPECT_EQ(drawing::Motifs().ListesMtfTherion->ListeTraits.Count(), traitsTherion);
  EXPECT_EQ(drawing::Motifs().FonteSurface.Taille, taille);
  EXPECT_EQ(formats::Import().ProjectionImport, projection);
  EXPECT_EQ(foundation::Impression().EchellePrn, echelle);
  EXPECT_EQ(static_cast<bool>(views::Ports().NombreCavites), nombreCavites);
  EXPECT_EQ(app::Config().CouleurFiligrane, couleur);
}

}  // namespace
