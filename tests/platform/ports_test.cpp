// The small ports: wait windows, instance lock, shell, and the canvas helpers
// that need no toolkit.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/canvas.h"
#include "platform/instance_lock.h"
#include "platform/text_log_canvas.h"
#include "platform/shell.h"
#include "platform/wait_windows.h"
#include "tests/support/dossier_temp.h"

using namespace platform;

TEST(WaitWindows, PileDeFenetres) {
  ScriptedWaitWindows w;
  ScopedWaitWindows garde(w);
  AfficheAttente("Calculs en cours ...");
  AfficheAttente("Chargement");
  EXPECT_EQ(w.Count(), 2u);
  FermeAttente();
  EXPECT_EQ(w.Stack, (std::vector<std::string>{"Calculs en cours ..."}));
  FermeAttente();
  FermeAttente();  // extra: nothing
  EXPECT_EQ(w.Log, (std::vector<std::string>{"+Calculs en cours ...", "+Chargement", "-Chargement",
                                             "-Calculs en cours ..."}));
}

TEST(InstanceLock, UneSecondeInstanceVoitLaPremiere) {
  testsupport::DossierTemp dossier;
  auto premiere = std::make_unique<FileInstanceLock>("MonMutexProject1", dossier.Chemin());
  ASSERT_TRUE(premiere->Held());
  EXPECT_FALSE(premiere->AnotherInstance());
  EXPECT_EQ(premiere->Path(), dossier.Fichier("MonMutexProject1.lock"));
  {
    FileInstanceLock seconde("MonMutexProject1", dossier.Chemin());
    EXPECT_TRUE(seconde.AnotherInstance());
    // While the second runs, a third sees it even after the first ended.
    premiere.reset();
    FileInstanceLock troisieme("MonMutexProject1", dossier.Chemin());
    EXPECT_TRUE(troisieme.AnotherInstance());
  }
  FileInstanceLock seule("MonMutexProject1", dossier.Chemin());
  EXPECT_FALSE(seule.AnotherInstance());
  FileInstanceLock autreNom("AutreVerrou", dossier.Chemin());
  EXPECT_FALSE(autreNom.AnotherInstance());
}

TEST(InstanceLock, LibereParLeSystemeQuandLeProcessusMeurt) {
  testsupport::DossierTemp dossier;
  int tube[2];
  ASSERT_EQ(pipe(tube), 0);
  const pid_t fils = fork();
  ASSERT_GE(fils, 0);
  if (fils == 0) {
    FileInstanceLock verrou("MonMutexProject1", dossier.Chemin());
    const char c = verrou.AnotherInstance() ? 'o' : 'n';
    if (write(tube[1], &c, 1) != 1) _exit(2);
    pause();  // killed below, as in a crash
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(tube[0], &c, 1), 1);
  EXPECT_EQ(c, 'n');
  EXPECT_TRUE(FileInstanceLock("MonMutexProject1", dossier.Chemin()).AnotherInstance());
  kill(fils, SIGKILL);
  int etat = 0;
  waitpid(fils, &etat, 0);
  EXPECT_FALSE(FileInstanceLock("MonMutexProject1", dossier.Chemin()).AnotherInstance());
  close(tube[0]);
  close(tube[1]);
}

TEST(InstanceLock, DossierDExecution) {
  testsupport::DossierTemp dossier;
  const char* avant = std::getenv("XDG_RUNTIME_DIR");
  const std::string sauve = avant ? avant : "";
  setenv("XDG_RUNTIME_DIR", dossier.Chemin().c_str(), 1);
  EXPECT_EQ(RuntimeFolder(), dossier.Chemin());
  EXPECT_EQ(FileInstanceLock("Essai").Path(), dossier.Fichier("Essai.lock"));
  setenv("XDG_RUNTIME_DIR", dossier.Fichier("absent").c_str(), 1);
  EXPECT_EQ(RuntimeFolder(), "/tmp");
  // In the shared /tmp each user has a lock of his own.
  EXPECT_EQ(FileInstanceLock("Essai").Path(), "/tmp/Essai-" + std::to_string(getuid()) + ".lock");
  unlink(("/tmp/Essai-" + std::to_string(getuid()) + ".lock").c_str());
  if (avant)
    setenv("XDG_RUNTIME_DIR", sauve.c_str(), 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(ScriptedInstanceLock(true).AnotherInstance());
}

TEST(Shell, PortScripte) {
  EXPECT_EQ(Shell::Current().OpenDocument("/tmp/x.pdf"), OpenResult::Failed);  // nothing installed
  ScriptedShell s;
  ScopedShell garde(s);
  EXPECT_EQ(Shell::Current().OpenDocument("https://exemple.org"), OpenResult::Opened);
  EXPECT_EQ(s.Opened, (std::vector<std::string>{"https://exemple.org"}));
}

TEST(Canvas, CouleursEtModes) {
  constexpr Colour c = RgbColour(207, 249, 145);
  static_assert(c == 0x91F9CF);
  EXPECT_EQ(RedOf(c), 207);
  EXPECT_EQ(GreenOf(c), 249);
  EXPECT_EQ(BlueOf(c), 145);
  const Colour cyan = RgbColour(0, 255, 255), rouge = RgbColour(255, 0, 0);
  EXPECT_EQ(ApplyPenMode(PenMode::NotXor, cyan, kWhite), cyan);
  EXPECT_EQ(ApplyPenMode(PenMode::NotXor, cyan, kBlack), rouge);
  for (int m = 0; m < kPenModeCount; ++m) {
    const PenMode mode = static_cast<PenMode>(m);
    EXPECT_LE(ApplyPenMode(mode, 0x123456, 0xABCDEF), 0xFFFFFFu) << m;
  }
  // Xor-like modes undo themselves.
  for (PenMode mode : {PenMode::Xor, PenMode::NotXor, PenMode::Not})
    EXPECT_EQ(ApplyPenMode(mode, 0x123456, ApplyPenMode(mode, 0x123456, 0xABCDEF)), 0xABCDEFu);
  EXPECT_EQ(ApplyCopyMode(CopyMode::SrcAnd, kWhite, 0x445566), 0x445566u);
  EXPECT_EQ(ApplyCopyMode(CopyMode::SrcAnd, kBlack, 0x445566), 0u);
}

TEST(Canvas, HachuresEtTailleDePolice) {
  struct Case {
    BrushStyle style;
    const char* motif;  // row 0 to 7 of the first column of 8 pixels, '#' painted
  };
  const Case cases[] = {
      {BrushStyle::Horizontal, "........ ........ ........ ######## ........ ........ ........ ........"},
      {BrushStyle::Vertical, "....#... ....#... ....#... ....#... ....#... ....#... ....#... ....#..."},
      {BrushStyle::FDiagonal, "#....... .#...... ..#..... ...#.... ....#... .....#.. ......#. .......#"},
      {BrushStyle::BDiagonal, ".......# ......#. .....#.. ....#... ...#.... ..#..... .#...... #......."},
      {BrushStyle::DiagCross, "#......# .#....#. ..#..#.. ...##... ...##... ..#..#.. .#....#. #......#"},
  };
  for (const Case& c : cases) {
    std::string vu;
    for (int y = 0; y < 8; ++y) {
      if (y) vu += ' ';
      for (int x = 0; x < 8; ++x) vu += HatchPixel(c.style, x + 16, y - 8) ? '#' : '.';
    }
    EXPECT_EQ(vu, c.motif) << int(c.style);
  }
  CanvasFont f;
  EXPECT_EQ(f.PixelHeight(), 13);  // 10 points at 96 pixels per inch
  f.Size = 8;
  EXPECT_EQ(f.PixelHeight(), 11);
  f.Height = 13;
  EXPECT_EQ(f.PixelHeight(), 13);
}

TEST(Canvas, ToileEnregistreuse) {
  TextLogCanvas c;
  c.MoveTo(1, 2);
  c.LineTo(3, 4);
  c.Font.Escapement = 900;
  c.TextOut(5, 6, "été");
  EXPECT_EQ(c.TextWidth("été"), 3 * c.CharWidth);
  EXPECT_EQ(c.PenPos, (Point{5 + 3 * c.CharWidth, 6}));
  EXPECT_EQ(c.Log, (std::vector<std::string>{"LineTo 1,2 3,4", "TextOut 5,6 esc=900 \"été\""}));
  // Without an installed factory, bitmaps are recording canvases.
  auto b = CanvasFactory::Current().CreateBitmap(2, 3);
  ASSERT_NE(dynamic_cast<TextLogCanvas*>(b.get()), nullptr);
  EXPECT_EQ(b->Height(), 3);
}
