#pragma once
// The graphic windows that choose in the survey for the exports and the
// imports: the shot selection window (views::TFicheSelectTransfert) behind
// the shot choice of the exports of a part of a cave ("Partie d'une
// cavité", "Fichier pour Qave"), and the origin window
// (views::TFicheOrigineImport) behind the gallery dialog's "Changer le
// point origine".

namespace app {

// Installs both windows as the ports of formats/ (FenetresExport().ChoisitVisees,
// FenetresImport().ChoisitOrigineImport).
void InstalleFenetresChoix();

}  // namespace app
