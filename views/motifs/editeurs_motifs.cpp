#include "views/motifs/editeurs_motifs.h"

#include <QApplication>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "drawing/ports_motifs.h"
#include "drawing/texture.h"
#include "views/motifs/dessin_fontes_dlg.h"
#include "views/motifs/edit_texture_dlg.h"
#include "views/motifs/edit_trait_dlg.h"

namespace views {

using drawing::TTypeMotif;

bool EditeurMotifDisponible(TTypeMotif type) {
  return type == TTypeMotif::tmTrait || type == TTypeMotif::tmRempli || type == TTypeMotif::tmTexture ||
         type == TTypeMotif::tmFonte;
}

bool EditeMotifQt(drawing::TObjetMotifdeBase& motif) {
  QWidget* parent = QApplication::activeWindow();
  switch (motif.TypeMotif) {
    case TTypeMotif::tmTrait:
    case TTypeMotif::tmRempli:
      if (auto* trait = dynamic_cast<drawing::TObjetTrait*>(&motif)) {
        TEditTraitDlg d(parent, *trait);
        return d.exec() == QDialog::Accepted;
      }
      break;
    case TTypeMotif::tmTexture:
      if (auto* texture = dynamic_cast<drawing::tTexture*>(&motif)) {
        TEditTextureDlg d(parent, *texture);
        return d.exec() == QDialog::Accepted;
      }
      break;
    case TTypeMotif::tmFonte:
      if (auto* fonte = dynamic_cast<drawing::TFontObjetType*>(&motif)) {
        TDessinFontesDlg d(parent, *fonte);
        return d.exec() == QDialog::Accepted;
      }
      break;
    case TTypeMotif::tmSymbole:
    case TTypeMotif::tmNord:
    case TTypeMotif::tmSurface:
      break;
  }
  return false;
}

void InstalleEditeursMotifs() { drawing::Ports().EditeMotif = EditeMotifQt; }

}  // namespace views
