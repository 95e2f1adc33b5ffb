// Shell URLs, the desktop's associated program of a document, and the
// combo-box list width.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStandardPaths>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "platform/qt/combo_box.h"
#include "platform/qt/qt_shell.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/sous_xvfb.h"

using namespace platform;

TEST(QtShell, AdressesEtFichiers) {
  EXPECT_EQ(DocumentUrl("https://exemple.org/declinaison?lat=45").scheme(), "https");
  const QUrl f = DocumentUrl("/tmp/Manuel Gravelune.pdf");
  EXPECT_TRUE(f.isLocalFile());
  EXPECT_EQ(f.toLocalFile(), "/tmp/Manuel Gravelune.pdf");
  // A missing document is reported without starting anything.
  QtShell s;
  EXPECT_EQ(s.OpenDocument("/tmp/gravelune-absent-1234567.pdf"), OpenResult::Failed);
}

namespace {

// The desktop's folders and session variables set for the test's life, put
// back after it.
class Bureau {
 public:
  explicit Bureau(const std::map<std::string, std::optional<std::string>>& variables) {
    for (const auto& [nom, valeur] : variables) {
      const char* avant = std::getenv(nom.c_str());
      sauve_[nom] = avant ? std::optional<std::string>(avant) : std::nullopt;
      if (valeur)
        setenv(nom.c_str(), valeur->c_str(), 1);
      else
        unsetenv(nom.c_str());
    }
  }
  ~Bureau() {
    for (const auto& [nom, valeur] : sauve_)
      if (valeur)
        setenv(nom.c_str(), valeur->c_str(), 1);
      else
        unsetenv(nom.c_str());
  }
  Bureau(const Bureau&) = delete;
  Bureau& operator=(const Bureau&) = delete;

 private:
  std::map<std::string, std::optional<std::string>> sauve_;
};

}  // namespace

TEST(QtShell, SansProgrammeAssocieRienNEstLanceEtLeResultatLeDit) {
  for (const char* outil : {"xdg-mime", "xdg-open", "file"})
    if (QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty()) GTEST_SKIP() << outil << " absent";
  testsupport::DossierTemp d;
  for (const char* sous : {"donnees/applications", "systeme", "config", "config-systeme", "maison"})
    std::filesystem::create_directories(d.Fichier(sous));
  // A bare desktop whose folders hold no association at all, with the
  // system's shared MIME database.
  if (std::filesystem::is_directory("/usr/share/mime"))
    std::filesystem::create_directory_symlink("/usr/share/mime", d.Fichier("systeme/mime"));
  Bureau bureau({{"XDG_DATA_HOME", d.Fichier("donnees")},
                 {"XDG_DATA_DIRS", d.Fichier("systeme")},
                 {"XDG_CONFIG_HOME", d.Fichier("config")},
                 {"XDG_CONFIG_DIRS", d.Fichier("config-systeme")},
                 {"HOME", d.Fichier("maison")},
                 {"XDG_CURRENT_DESKTOP", std::nullopt},
                 {"DESKTOP_SESSION", std::nullopt},
                 {"KDE_FULL_SESSION", std::nullopt},
                 {"GNOME_DESKTOP_SESSION_ID", std::nullopt},
                 {"BROWSER", std::nullopt},
                 {"DISPLAY", std::string(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : ":0")}});
  const std::string kml = d.Fichier("KmlTmp.kml");
  testsupport::EcritOctets(kml,
                           "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n</kml>\n");
  const std::string ouvert = d.Fichier("ouvert.txt");
  QtShell s;
  EXPECT_EQ(ProgramAssociated(QString::fromStdString(kml)), false);
  EXPECT_EQ(s.OpenDocument(kml), OpenResult::NoProgram);

  // A viewer declaring the KML type: the file goes to it.
  const std::string visionneuse = d.Fichier("visionneuse.sh");
  testsupport::EcritOctets(visionneuse, "#!/bin/sh\nprintf '%s' \"$1\" > '" + ouvert + "'\n");
  ASSERT_EQ(::chmod(visionneuse.c_str(), 0755), 0);
  testsupport::EcritOctets(d.Fichier("donnees/applications/visionneuse-essai.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Visionneuse\nExec=" + visionneuse +
                               " %f\nMimeType=application/vnd.google-earth.kml+xml;text/xml;application/xml;\n");
  EXPECT_EQ(ProgramAssociated(QString::fromStdString(kml)), true);
  const OpenResult r = s.OpenDocument(kml);
  EXPECT_NE(r, OpenResult::NoProgram);
  // The desktop's launcher is the window system's: the offscreen platform
  // starts nothing, a real display starts the viewer on the file.
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    EXPECT_EQ(r, OpenResult::Opened);
    EXPECT_TRUE(testsupport::Attend([&] { return testsupport::LitOctets(ouvert) == kml; }, 20000))
        << testsupport::LitOctets(ouvert);
  }
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
