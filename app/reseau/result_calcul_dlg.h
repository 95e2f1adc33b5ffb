#pragma once
// The computation report ("Résultats du calcul des compensations et des
// bouclages"): a read-only memo holding a copy of the report lines taken
// when the window is created; "OK" closes it.  No command opens it yet.
#include <QDialog>

class QPlainTextEdit;

namespace app {

class TResultCalculDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TResultCalculDlg(QWidget* parent = nullptr);

  QPlainTextEdit* Memo = nullptr;
};

}  // namespace app
