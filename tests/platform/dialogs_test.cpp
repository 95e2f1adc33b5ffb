#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/dossier_temp.h"

using namespace platform;

TEST(Filtres, DecoupeEtCorrespondance) {
  const auto f = ParseFilter("Réseaux|*.cav|Tous|*.tab;*.XTB");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].Description, "Réseaux");
  EXPECT_EQ(f[1].Patterns, "*.tab;*.XTB");
  struct Case {
    const char* nom;
    const char* motifs;
    bool attendu;
  };
  const Case cases[] = {
      {"grotte.CAV", "*.cav", true}, {"grotte.cav", "*.CAV", true}, {"a.xtb", "*.tab;*.xtb", true},
      {"a.txt", "*.tab;*.xtb", false}, {"TmpTxt1.tmp", "TmpTxt?.tmp", true}, {"x", "*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesFilter(c.nom, c.motifs), c.attendu) << c.nom << " " << c.motifs;
}

TEST(ScriptedDialogs, RepondEtJournalise) {
  ScriptedDialogs d;
  ScopedDialogs garde(d);
  d.QueueAnswer(Answer::Yes);
  d.QueueFile("/tmp/a.txt", 2);
  Dialogs::Current().ShowMessage(MessageKind::Error, "Erreur !");
  EXPECT_EQ(Dialogs::Current().AskYesNo("Continuer ?"), Answer::Yes);
  EXPECT_EQ(Dialogs::Current().AskYesNoCancel("Enregistrer ?"), Answer::Cancel);  // nothing queued
  const auto f = Dialogs::Current().SaveFile({});
  ASSERT_TRUE(f);
  EXPECT_EQ(f->FilterIndex, 2);
  EXPECT_EQ(d.Messages(), (std::vector<std::string>{"Erreur !"}));
  EXPECT_EQ(d.Unanswered(), 1);
  ASSERT_EQ(d.Log().size(), 4u);
  EXPECT_EQ(d.Log()[1].text, "Continuer ?");
  {
    BusyCursor c1;
    BusyCursor c2;
    EXPECT_TRUE(d.Busy());
  }
  EXPECT_FALSE(d.Busy());
}

TEST(Fichiers, EcritureAtomiqueEtAttributs) {
  testsupport::DossierTemp dossier;
  const std::string f = dossier.Fichier("doc.cav");
  ASSERT_TRUE(WriteFileAtomic(f, "abc"));
  std::string lu;
  ASSERT_TRUE(ReadFile(f, lu));
  EXPECT_EQ(lu, "abc");
  ASSERT_TRUE(CopyFile(f, dossier.Fichier("doc.$$$Cav")));
  EXPECT_EQ(testsupport::LitOctets(dossier.Fichier("doc.$$$Cav")), "abc");
  // A write into a missing folder fails and leaves nothing behind.
  EXPECT_FALSE(WriteFileAtomic(dossier.Fichier("absent/x.cav"), "abc"));
  EXPECT_FALSE(ReadFile(dossier.Fichier("absent.cav"), lu));
  EXPECT_EQ(ExtensionOf("/a.b/c.CFG"), ".CFG");
  EXPECT_EQ(ExtensionOf("/a.b/c"), "");
  EXPECT_EQ(ChangeExtension("/a/c.CFG", ".cav"), "/a/c.cav");
  EXPECT_EQ(FolderOf("/a/c.cav"), "/a/");
  EXPECT_EQ(FileNameOf("/a/c.cav"), "c.cav");
}
