#pragma once
// Small modal dialogs about single stations and surface points:
//
// - TCoordDlg "Saisie des coordonnées d'un point": a surface point's name,
//   symbol, comment and coordinates, typed in metres or kilometres, in the
//   network's system, in another one or in WGS84 latitude/longitude.
// - TRattachDialog: which of the stations attached to a station continues
//   the gallery.
// - TChoixRattachDlg "Choix d'un point de rattachement": the station an
//   attachment shot ends on, nearest first.
// - TChoixPtSurfaceDlg "Choix du point de rattachement en surface": the
//   surface point a cave's first shot starts from, or a new one.
// - TSaisieSuiteEtObsDlg and TListeSuiteObsDlg: a station's continuation
//   observations.
//
// InstalleDialoguesPoints puts them behind the survey model's ports.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/commun/memoire_points.h"
// moc reads no further than the declarations below.
#ifndef Q_MOC_RUN
#include "survey/observation.h"
#include "survey/ports_survey.h"
#endif

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace survey {
class TCavite;
class TLever;
class TListedePoints;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace app {

class TCadreProjectionWGS;
class TCadreSaisieCoord;
class TCadreSaisieDate;
class TCadreSaisieOpe;
class TGroupeRadio;

class TCoordDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCoordDlg(QWidget* parent = nullptr);

  void InitRectif(const survey::TPointSpeleo& PointTemp);
  // The fields into the point.  False, with a French message naming the
  // system and the point unchanged, when the coordinates do not convert.
  bool Transfere(survey::TPointSpeleo& PointTemp);
  // Shown modally; on OK the fields go into the point (the dialog stays open
  // while they do not convert).
  bool Execute(survey::TPointSpeleo& point);

  QLineEdit* EditNom = nullptr;
  QComboBox* NatureBox = nullptr;
  // The chosen symbol's preview (empty for "indéterminé").
  QLabel* VisuSymbole = nullptr;
  QPlainTextEdit* MemoCommentaire = nullptr;
  TCadreProjectionWGS* CadreProjection = nullptr;
  TCadreSaisieCoord* CadreCoord = nullptr;
  QPushButton* OKBtn = nullptr;

  void accept() override;

 private:
  void ReporteFocus();
  void DessineSymbole();
  survey::TPointSpeleo* cible_ = nullptr;
  std::vector<survey::TMotifDocument*> symboles_;
};

class TRattachDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TRattachDialog(QWidget* parent = nullptr);
  void Init(const std::string& DesignGal, const std::string& DesignRattach,
            const std::vector<survey::TPointSpeleo*>& LPts);
  // The chosen point's position in LPts, -1 for "aucun".
  int Choix() const;
  // Every point an annex except the chosen one.
  void Transfere();

  QLabel* LabelGalerie = nullptr;
  QLabel* LabelTexte = nullptr;
  TGroupeRadio* PointsRdg = nullptr;

 private:
  std::vector<survey::TPointSpeleo*> PtsRattach;
};

class TChoixRattachDlg : public QDialog {
  Q_OBJECT
 public:
  TChoixRattachDlg(survey::TCavite* ACavite, const std::string& MotifRattach, survey::TPointSpeleo* vPtRat,
                   bool SurfPossible, QWidget* parent = nullptr);
  // Shown modally; the chosen point on OK, none otherwise (and none when
  // there is no candidate, after the message).
  survey::TPointSpeleo* Execute();

  const std::vector<survey::TPointSpeleo*>& Candidats() const { return ListePtsCav; }
  survey::TPointSpeleo* PointSelectionne() const;

  QListWidget* ListePoints = nullptr;
  QLabel* LabelGalerie = nullptr;
  QLabel* LabelCommentaire = nullptr;
  QLabel* LabelNouveau = nullptr;
  survey::TPointSpeleo* PointChoisi = nullptr;

 private:
  void Selection();
  std::vector<survey::TPointSpeleo*> ListePtsCav;
};

class TChoixPtSurfaceDlg : public QDialog {
  Q_OBJECT
 public:
  TChoixPtSurfaceDlg(survey::TListedePoints& surface, survey::TPointSpeleo* propose, QWidget* parent = nullptr);
  survey::TPointSpeleo* PointSelectionne() const;
  void NouveauPointClick();

  QListWidget* ListePoints = nullptr;
  QLabel* LabelCommentaire = nullptr;
  QPushButton* NouveauBtn = nullptr;
  survey::TPointSpeleo* PointChoisi = nullptr;

 private:
  survey::TListedePoints& surface_;
  std::vector<survey::TPointSpeleo*> points_;
};

// The surface point a cave's first shot starts from (the proposed one
// selected); none when cancelled.  With no surface point the creation runs
// at once.  When the number of surface points grew, the surface cave
// regenerates its station list.
survey::TPointSpeleo* ChoisitPointSurface(QWidget* owner, survey::TCavite& cavite, survey::TPointSpeleo* propose);

class TSaisieSuiteEtObsDlg : public QDialog {
  Q_OBJECT
 public:
  TSaisieSuiteEtObsDlg(const survey::TLever* vLever, QWidget* parent = nullptr);
  void InitRectif();
  // The fields into UneObs.
  void Transfere();
  survey::TSuitePossible Suite() const;

  survey::TTypeDObs* UneObs = nullptr;
  QComboBox* TypeSuiteBox = nullptr;
  QComboBox* EtatBox = nullptr;
  QPlainTextEdit* MemoCommentaires = nullptr;
  TCadreSaisieDate* CadreDate = nullptr;
  TCadreSaisieOpe* CadreOpe = nullptr;
};

class TListeSuiteObsDlg : public QDialog {
  Q_OBJECT
 public:
  TListeSuiteObsDlg(const survey::TLever* vLever, survey::TSuiteObs& vSuiteObs, survey::TPointSpeleo* UnPoint,
                    bool visuSeul = false, QWidget* parent = nullptr);
  // Runs what the dialog starts with: with no observation, the observation
  // dialog at once.  Call before exec(); Termine says there is nothing to show.
  void Demarre();
  void AjouteLigne();
  void EditeLigne();
  void SupprimeLigne();
  void accept() override;
  // Clicking or entering the list with nothing selected selects the last line.
  bool eventFilter(QObject* objet, QEvent* evenement) override;

  bool Termine = false;
  bool Nouveau = false;
  bool VisuSeul = false;
  QTreeWidget* ListeObs = nullptr;
  QComboBox* NatureBox = nullptr;
  QLabel* LabelCommentaires = nullptr;
  QPushButton* OKBtn = nullptr;
  survey::TSuiteObs SuiteObs;  // working copy

  // How the observation dialog is run: the default shows it modally; tests
  // replace it.  The dialog is ready (InitRectif done for an edit).
  std::function<bool(TSaisieSuiteEtObsDlg&)> ExecuteObservation;

 private:
  void Affiche();
  void MontreCommentaires();
  bool EditeObservation(survey::TTypeDObs& obs, bool nouvelle);

  survey::TSuiteObs& SuiteObsOrig;
  survey::TPointSpeleo* PointTmp;
  const survey::TLever* LeverSaisie;
  survey::TTypeDObs* NouvelleObs = nullptr;
  std::string NomGal;
};

// The continuation notes of a station edited (the shot dialog's button): with
// none, the observation dialog opens at once; true when the list was
// confirmed.
bool EditeSuites(QWidget* owner, const survey::TLever* lever, survey::TPointSpeleo& point);

// Makes these windows the survey model's coordinate dialog, gallery
// continuation choice, observation list, surface-point choice and
// attachment-point choice.
void InstalleDialoguesPoints();

}  // namespace app
