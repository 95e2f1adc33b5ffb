// Shell URLs and the combo-box list width.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>

#include "platform/qt/combo_box.h"
#include "platform/qt/qt_shell.h"

using namespace platform;

TEST(QtShell, AdressesEtFichiers) {
  EXPECT_EQ(DocumentUrl("https://exemple.org/declinaison?lat=45").scheme(), "https");
  const QUrl f = DocumentUrl("/tmp/Manuel Gravelune.pdf");
  EXPECT_TRUE(f.isLocalFile());
  EXPECT_EQ(f.toLocalFile(), "/tmp/Manuel Gravelune.pdf");
  // A missing document is reported without starting anything.
  QtShell s;
  EXPECT_FALSE(s.OpenDocument("/tmp/gravelune-absent-1234567.pdf"));
}

TEST(AjusteLargeurListe, LaListeSElargitAuPlusLongElement) {
  QComboBox c;
  c.resize(60, 24);
  c.addItems({"A", "Une galerie au nom vraiment très long"});
  AjusteLargeurListe(c);
  const QFontMetrics fm(c.view()->font());
  EXPECT_EQ(c.view()->minimumWidth(), fm.horizontalAdvance("Une galerie au nom vraiment très long") + 24);
  QComboBox court;
  court.resize(300, 24);
  court.addItems({"A"});
  AjusteLargeurListe(court);
  EXPECT_EQ(court.view()->minimumWidth(), 300);
}

#include "platform/qt/qt_ports.h"

TEST(QtPorts, InstallesPuisRendus) {
  Dialogs* avant = &Dialogs::Current();
  {
    QtPorts ports;
    EXPECT_EQ(&Dialogs::Current(), &ports.DialogPort);
    EXPECT_EQ(&WaitWindows::Current(), &ports.WaitPort);
    EXPECT_EQ(&Shell::Current(), &ports.ShellPort);
    EXPECT_EQ(&CanvasFactory::Current(), &ports.BitmapPort);
  }
  EXPECT_EQ(&Dialogs::Current(), avant);
  EXPECT_EQ(dynamic_cast<QtShell*>(&Shell::Current()), nullptr);
}
