// The editor port installed by the program: each kind's entry opens its
// dialog, modal, and the answer is the dialog's; the kinds without an
// editor answer "cancelled" without a window.
#include <QDialog>
#include <QTimer>

#include "drawing/liste_mtf.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/editeurs_motifs.h"

namespace {

using namespace essaimotifs;
using drawing::TTypeMotif;

class EditeursMotifs : public FenetresMotifs {};

TEST_F(EditeursMotifs, ChaqueGenreOuvreSonDialogue) {
  views::InstalleEditeursMotifs();
  drawing::tListeMtf bibliotheque;
  bibliotheque.InitDefaut();
  struct Cas {
    TTypeMotif type;
    const char* titre;  // none: no editor
  };
  const Cas cas[] = {
      {TTypeMotif::tmTrait, "Gestion des types de dessin"},
      {TTypeMotif::tmRempli, "Gestion des types de dessin"},
      {TTypeMotif::tmTexture, "Gestion des textures"},
      {TTypeMotif::tmFonte, "Gestion des types d'écritures"},
      {TTypeMotif::tmSymbole, nullptr},
      {TTypeMotif::tmSurface, nullptr},
  };
  for (const Cas& c : cas) {
    drawing::TObjetMotifdeBase* m = bibliotheque.ListeMotif[static_cast<size_t>(c.type)]->UnObjet(0);
    EXPECT_EQ(views::EditeurMotifDisponible(c.type), c.titre != nullptr);
    for (const bool ok : {false, true}) {
      QString vu;
      QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        vu = d->windowTitle();
        ok ? d->accept() : d->reject();
      });
      const bool reponse = m->DessineMotif();
      QApplication::processEvents();
      EXPECT_EQ(vu, c.titre ? QString::fromUtf8(c.titre) : QString()) << static_cast<int>(c.type);
      EXPECT_EQ(reponse, ok && c.titre != nullptr) << static_cast<int>(c.type) << " " << ok;
    }
  }
}

}  // namespace
