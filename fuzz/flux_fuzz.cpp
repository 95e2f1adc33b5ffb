// Arbitrary bytes through the stream readers: lists of texts, of integers and
// of records, and the file header.  None may crash, hang or allocate without
// bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "foundation/objet_de_liste.h"

using namespace foundation;

namespace {
class TRecord : public TObjetDeListe {
 public:
  int32_t N = 0;
  double X = 0;
  bool B = false;
  std::string Texte;
  uint8_t Genre = 0;
  bool EcritObjet(TFlux& f) override {
    InitES(f);
    EcrisInteger(N);
    EcrisReal(X);
    EcrisBoolean(B);
    EcrisOctet(Genre);
    return EcrisTexte(Texte);
  }
  bool LitObjet(TFlux& f) override {
    InitES(f);
    LisInteger(N);
    LisAncien(3);
    LisReal(X);
    LisBoolean(B);
    LisEnum(Genre, 4);
    return LisTexte(Texte);
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GardeNiveauFichier garde;
  TFluxMemoire f(std::string(reinterpret_cast<const char*>(data), size));
  std::string entete;
  if (LitChaineA(f, entete)) {
    NiveauFichier().EnTeteFichier = entete;
    try {
      DecodeVersionFichier();
    } catch (const ErreurConversion&) {
      NiveauFichier().VersionFichierLue = 511;
    }
  }
  std::vector<std::string> lignes;
  LitListeChaines(f, lignes);
  TListeInteger entiers;
  entiers.LitListe(f);
  TListeFichier<TRecord> liste;
  if (liste.LitListe(f)) {
    TRecord* r = nullptr;
    liste.LitIndexObjet(f, r);
    TFluxMemoire sortie;
    liste.EcritListe(sortie);
  }
  return 0;
}
