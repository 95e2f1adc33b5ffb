#pragma once
// The coordinate-system frames embedded in the dialogs that create a network,
// enter a point's coordinates, import tables of points or calibrate images:
//
// - TCadreProjectionBase: the system and zone choice ("Projection utilisée").
// - TCadreProjectionSimple: adds "indépendantes" / "rattachées".
// - TCadreProjectionWGS: adds "indépendantes" / "projection du réseau" /
//   "autre projection" and "WGS84" / "Projection", and drives a
//   TCadreSaisieCoord so that its fields switch between metres and
//   latitude/longitude.
// - TCadreSaisieCoord: one point's coordinates.
//
// Controls carry their names as objectName; the items of a radio group are
// QRadioButtons named after the group followed by their position
// ("RdgTypeCoord2").  The lists come from the projection catalogue.
#include <QGroupBox>
#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

namespace survey {
class TPointSpeleo;
}

namespace views {

// Degrees (x >= 0) as degrees, minutes and seconds with four decimals:
// 2° 20' 14.0250".  Rounded to the ten-thousandth of a second, with carry.
std::string DegresVersTexteDMS(double x);
// Reads the text DegresVersTexteDMS writes, or what the user typed in its
// shape: the field before "°", the field before "'" and the field before the
// double quote, blanks removed (empty reads as 0); the seconds are a decimal
// number ("5" is five seconds).  A field that is not a number reads as 0.
double TexteDMSVersDegres(const std::string& texte);

// A radio group: a titled box of radio buttons, one selected.
class TGroupeRadio : public QGroupBox {
  Q_OBJECT
 public:
  TGroupeRadio(const QString& titre, const std::vector<std::string>& items, int colonnes, QWidget* parent);
  int ItemIndex() const;
  // Selects the item (-1 for none) without emitting Click.
  void FixeItemIndex(int i);
  QRadioButton* Item(int i) const { return items_.at(static_cast<size_t>(i)); }
  int Nombre() const { return static_cast<int>(items_.size()); }
 signals:
  // The user (or a test) selected an item.
  void Click();

 private:
  std::vector<QRadioButton*> items_;
};

class TCadreSaisieCoord;

class TCadreProjectionBase : public QWidget {
  Q_OBJECT
 public:
  explicit TCadreProjectionBase(QWidget* parent = nullptr);

  void InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau, int vFuseauReseau);
  int ZoneActive() const { return EstMultiple ? iFuseau : -1; }
  bool Independant() const { return !Rattache(); }
  virtual bool IdReseau() const { return false; }
  virtual bool Rattache() const { return false; }
  virtual void RdgTypeCoordClick();
  void ListeProjectBoxChange();
  void ZoneBoxChange();

  QWidget* GeodPanel = nullptr;
  QGroupBox* GroupProject = nullptr;
  QComboBox* ListeProjectBox = nullptr;
  QLineEdit* EditProject = nullptr;
  QComboBox* ZoneBox = nullptr;
  QLabel* ZoneTxt = nullptr;

  bool EstUtmSud = false;
  bool InitFiche = false;
  std::string ProjecReseau;
  int FuseauReseau = 0;
  int iFuseau = 0;
  std::string ProjectActive;
  bool EstMultiple = false;
  bool EstWGS = false;

 protected:
  // The panel's layout, for the derived frames to add to.
  QVBoxLayout* geodLayout_ = nullptr;
  QVBoxLayout* layout_ = nullptr;
};

class TCadreProjectionSimple : public TCadreProjectionBase {
  Q_OBJECT
 public:
  explicit TCadreProjectionSimple(QWidget* parent = nullptr);
  void InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau, int vFuseauReseau);
  bool Rattache() const override;

  TGroupeRadio* SimpleCoordsRdg = nullptr;
};

class TCadreProjectionWGS : public TCadreProjectionBase {
  Q_OBJECT
 public:
  explicit TCadreProjectionWGS(QWidget* parent = nullptr);
  void InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau, int vFuseauReseau,
                 TCadreSaisieCoord* vCadreSaisieCoord, const std::string& vTypePointStr);
  bool IdReseau() const override;
  bool Rattache() const override;
  void RdgTypeCoordClick() override;
  void SystemRdgClick();

  TGroupeRadio* RdgTypeCoord = nullptr;
  TGroupeRadio* SystemRdg = nullptr;
  QGroupBox* ProjReseauGroup = nullptr;
  QLineEdit* ProjReseauEdit = nullptr;
  QLabel* LabelIndication = nullptr;
  TCadreSaisieCoord* UnCadreSaisieCoord = nullptr;  // not owned
};

class TCadreSaisieCoord : public QWidget {
  Q_OBJECT
 public:
  explicit TCadreSaisieCoord(QWidget* parent = nullptr);

  bool EstDeci() const;
  double ValResultLong() const;
  double ValResultLat() const;
  void AfficheCoordPt(const survey::TPointSpeleo& vPtSpel);
  // After a change of a latitude or longitude field: its value into ValLat / ValLong.
  void EditLatKeyUp();
  void EditLongKeyUp();
  // The format changed: the stored values written back in the new format.
  void FormatWGSRdgClick();
  // Number of a metre field (X, Y, Z or the WGS84 altitude): blanks removed,
  // empty reads 0, '.' as decimal point.
  static double NombreDuChamp(const QLineEdit* e);

  QWidget* PanelMetres = nullptr;
  QLineEdit* EditX = nullptr;
  QLineEdit* EditY = nullptr;
  QLineEdit* EditZ = nullptr;
  TGroupeRadio* UniteGroup = nullptr;
  QWidget* PanelAngles = nullptr;
  QLineEdit* EditLat = nullptr;
  QLineEdit* EditLong = nullptr;
  QLineEdit* EditZWGS = nullptr;
  TGroupeRadio* FormatWGSRdg = nullptr;
  TGroupeRadio* NSRdg = nullptr;
  TGroupeRadio* OERdg = nullptr;

  double ValLong = 0;
  double ValLat = 0;

 private:
  double LitAngle(const QLineEdit* e) const;
};

}  // namespace views
