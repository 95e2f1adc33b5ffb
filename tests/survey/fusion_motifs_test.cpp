// The merge of two patterns of the document library reaches every page
// layout: the plan layouts and those of each long section.
#include <gtest/gtest.h>

#include <memory>

#include "document/liaisons_modele.h"
#include "drawing/annexe_cavite.h"
#include "drawing/liste_mtf.h"
#include "tests/survey/environnement_document.h"
#include "views/mise_en_page.h"
#include "views/objets_mise_en_page.h"

namespace {

using namespace survey;
using testsurvey::EnvironnementDocument;

TEST(FusionMotifs, MisesEnPageDuPlanEtDesCoupes) {
  EnvironnementDocument env;
  TReseau r;
  r.CreeCaviteSurface();
  auto nouvelle = std::make_unique<TCavite>();
  nouvelle->NomCavite = "Grotte";
  TCavite* c = r.AjouteCavite(std::move(nouvelle));
  auto* annexe = dynamic_cast<drawing::TAnnexeDessinCavite*>(c->Annexe.get());
  ASSERT_TRUE(annexe);
  ASSERT_GT(annexe->NombreCoupesLong(), 0);
  drawing::tListeMtf* bibliotheque = document::BibliothequeCourante();
  ASSERT_TRUE(bibliotheque);
  drawing::TObjetMotifdeBase* garde = bibliotheque->ListeFontes.UnObjet(0);
  drawing::TObjetMotifdeBase* fusionne = bibliotheque->ListeFontes.UnObjet(1);
  ASSERT_TRUE(garde && fusionne);

  // Each layout lists the merged pattern in its legend and its masked fonts.
  auto remplit = [&](views::TMiseEnPage& m) {
    m.MotifsMep->Hauteur = m.MotifsMep->Largeur = 1;
    m.MotifsMep->ListeMotifsMep = {fusionne};
    m.MotifsMasques(drawing::TTypeMotif::tmFonte)->assign({fusionne});
  };
  auto coupe = std::make_unique<views::TMiseEnPage>();
  remplit(*coupe);
  views::TMiseEnPage* deCoupe = coupe.get();
  annexe->UneCoupeLong(0)->MisesEnPageCoupe.Add(std::move(coupe));
  auto plan = std::make_unique<views::TMiseEnPage>();
  remplit(*plan);
  views::TMiseEnPage* duPlan = plan.get();
  views::MisesEnPage().ListesMisesEnPage[0]->Add(std::move(plan));

  r.FusionneMotifsDeBase(garde, fusionne);
  for (views::TMiseEnPage* m : {deCoupe, duPlan}) {
    SCOPED_TRACE(m == deCoupe ? "long section" : "plan");
    EXPECT_EQ(m->MotifsMep->ListeMotifsMep, std::vector<drawing::TObjetMotifdeBase*>{garde});
    EXPECT_EQ(*m->MotifsMasques(drawing::TTypeMotif::tmFonte), views::TListeMotifsMasques{garde});
  }
}

}  // namespace
