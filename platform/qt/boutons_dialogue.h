#pragma once
// The OK and Cancel buttons at the foot of a dialog.
class QDialog;
class QHBoxLayout;
class QPushButton;

namespace platform::qt {

// A row, right-aligned, with "OK" (objectName "OKBtn", the default button,
// accepting the dialog) and "Annuler" ("AnnulerBtn", rejecting it).  The two
// buttons are given back through ok and, when asked, annuler.
QHBoxLayout* BoutonsOKAnnuler(QDialog* d, QPushButton*& ok, QPushButton** annuler = nullptr);

}  // namespace platform::qt
