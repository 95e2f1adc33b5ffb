#pragma once
// Helpers shared by the layout tests: the file level, a small network behind
// the layout ports, a document pattern library, fixtures and hex dumps.
#include <memory>
#include <string>

#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"
#include "views/ports_vues.h"

namespace essaivues {

// The file level set for the life of an object, hex dumps: as in the pattern
// tests.
using testmotifs::Hex;
using testmotifs::Niveau;

// A network of three caves (0 the surface) and five stations; station n is
// the entrance of cave n; cave 1 has two long sections, cave 2 three, the
// surface none.  A document library with its defaults and one north arrow.
class Reseau {
 public:
  explicit Reseau(int nbCavites = 3, int32_t nbPoints = 5) : mtf(std::make_unique<drawing::tListeMtf>(0)) {
    mtf->InitDefaut();
    mtf->ListeFlNord.AjouteMotif(drawing::Motifs().FlecheNordMag->CloneSymbole());
    views::PortsVues& p = views::Ports();
    p.NombreCavites = [nbCavites] { return nbCavites; };
    p.NombrePointsReseau = [nbPoints] { return nbPoints; };
    p.EstEntreeDeCavite = [](int c, int32_t pt) { return c == pt; };
    p.NombreCoupesLong = [](int c) { return c; };
    p.CoupesDecalees = [this](int c) { return c == CaviteDecalee; };
    p.NomFichierDocument = [] { return std::string("/cartes/Trou.cav"); };
    p.NomReseau = [] { return std::string("Réseau du Trou"); };
    p.NomCaviteActive = [] { return std::string("Grotte"); };
    p.BibliothequeDocument = [this] { return mtf.get(); };
  }

  std::unique_ptr<drawing::tListeMtf> mtf;
  int CaviteDecalee = -1;

 private:
  views::GardePortsVues garde_;
};

inline std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/views/fixtures/mep_" + nom + ".bin");
}

template <class T>
std::string Octets(T& objet) {
  foundation::TFluxMemoire f;
  EXPECT_TRUE(objet.EcritObjet(f));
  return f.Octets();
}

}  // namespace essaivues
