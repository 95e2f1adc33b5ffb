// The lock held on an open document file and the files that cannot be
// written.  util-linux's flock(1) is the outside witness: it takes the same
// lock on the file itself.
#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/verrou_externe.h"

using platform::FileLock;
using platform::WriteBlock;
using testsupport::DetenteurFlock;
using testsupport::Mode;
using testsupport::TenuSelonFlock;

TEST(VerrouFichier, TenuRefuseAuxAutresEtRelache) {
  testsupport::DossierTemp dossier;
  const std::string f = dossier.Fichier("doc.cav");
  testsupport::EcritOctets(f, "abc");
  for (const int32_t mode : {0644, 0444, 0600}) {
    ASSERT_EQ(::chmod(f.c_str(), static_cast<mode_t>(mode)), 0);
    FileLock verrou;
    ASSERT_EQ(verrou.Take(f), FileLock::Outcome::Held) << mode;
    EXPECT_TRUE(verrou.Held());
    EXPECT_EQ(verrou.Path(), f);
    EXPECT_TRUE(verrou.Covers(dossier.Chemin() + "/./doc.cav"));
    // Another descriptor, even in this process, and another process are refused.
    FileLock second;
    EXPECT_EQ(second.Take(f), FileLock::Outcome::HeldElsewhere);
    EXPECT_FALSE(second.Held());
    EXPECT_TRUE(FileLock::HeldElsewhere(f));
    EXPECT_TRUE(TenuSelonFlock(f));
    EXPECT_EQ(Mode(f), mode);
    verrou.Release();
    EXPECT_FALSE(TenuSelonFlock(f));
    EXPECT_FALSE(FileLock::HeldElsewhere(f));
    EXPECT_EQ(Mode(f), mode);
    // No extra file beside the document.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dossier.Chemin()), {}), 1);
  }
  // Moving hands the lock over; the moved-from object holds nothing.
  FileLock a;
  ASSERT_EQ(a.Take(f), FileLock::Outcome::Held);
  FileLock b = std::move(a);
  EXPECT_FALSE(a.Held());
  EXPECT_TRUE(b.Held());
  EXPECT_TRUE(TenuSelonFlock(f));
  FileLock manquant;
  EXPECT_EQ(manquant.Take(dossier.Fichier("absent.cav")), FileLock::Outcome::Unavailable);
  EXPECT_FALSE(FileLock::HeldElsewhere(dossier.Fichier("absent.cav")));
}

TEST(VerrouFichier, UnAutreProcessusTientPuisEstTue) {
  testsupport::DossierTemp dossier;
  const std::string f = dossier.Fichier("doc.cav");
  testsupport::EcritOctets(f, "abc");
  DetenteurFlock autre(f);
  ASSERT_TRUE(autre.Tient());
  FileLock verrou;
  EXPECT_EQ(verrou.Take(f), FileLock::Outcome::HeldElsewhere);
  autre.Tue();  // SIGKILL: the system releases the lock
  EXPECT_EQ(verrou.Take(f), FileLock::Outcome::Held);
}

TEST(VerrouFichier, EcritureAtomiqueVerrouilleLeNouveauFichierEtGardeSonMode) {
  testsupport::DossierTemp dossier;
  const std::string f = dossier.Fichier("doc.cav");
  testsupport::EcritOctets(f, "ancien");
  ASSERT_EQ(::chmod(f.c_str(), 0640), 0);
  FileLock verrou;
  ASSERT_EQ(verrou.Take(f), FileLock::Outcome::Held);
  struct stat avant {};
  ASSERT_EQ(::stat(f.c_str(), &avant), 0);
  ASSERT_TRUE(platform::WriteFileAtomic(f, "nouveau", &verrou));
  struct stat apres {};
  ASSERT_EQ(::stat(f.c_str(), &apres), 0);
  // A new file under the name, with the old one's permissions, locked.
  EXPECT_NE(avant.st_ino, apres.st_ino);
  EXPECT_EQ(Mode(f), 0640);
  EXPECT_EQ(testsupport::LitOctets(f), "nouveau");
  EXPECT_TRUE(verrou.Covers(f));
  EXPECT_EQ(verrou.Path(), f);
  EXPECT_TRUE(TenuSelonFlock(f));
  // Without a lock the write leaves none; a failed write keeps the old lock.
  ASSERT_TRUE(platform::WriteFileAtomic(dossier.Fichier("copie.cav"), "x"));
  EXPECT_FALSE(TenuSelonFlock(dossier.Fichier("copie.cav")));
  EXPECT_FALSE(platform::WriteFileAtomic(dossier.Fichier("absent/x.cav"), "x", &verrou));
  EXPECT_TRUE(verrou.Covers(f));
  verrou.Release();
  EXPECT_FALSE(TenuSelonFlock(f));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dossier.Chemin()), {}), 2);
}

TEST(VerrouFichier, FichiersQuiNePeuventEtreEcrits) {
  testsupport::DossierTemp dossier;
  const std::string f = dossier.Fichier("doc.cav");
  testsupport::EcritOctets(f, "abc");
  const struct {
    int32_t mode;
    WriteBlock attendu;
  } cas[] = {{0644, WriteBlock::None}, {0600, WriteBlock::None}, {0444, WriteBlock::FileReadOnly},
             {0400, WriteBlock::FileReadOnly}, {0000, WriteBlock::FileReadOnly}};
  // The mode is read, not the superuser's access rights.
  for (const auto& c : cas) {
    ASSERT_EQ(::chmod(f.c_str(), static_cast<mode_t>(c.mode)), 0);
    EXPECT_EQ(platform::WhyNotWritable(f), c.attendu) << c.mode;
    EXPECT_EQ(Mode(f), c.mode);
  }
  ASSERT_EQ(::chmod(f.c_str(), 0644), 0);
  EXPECT_EQ(platform::WhyNotWritable(dossier.Fichier("absent.cav")), WriteBlock::None);
  // A folder that forbids the temporary file; the superuser is not stopped
  // by it, so another user is asked.
  ASSERT_EQ(::chmod(dossier.Chemin().c_str(), 0555), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(dossier.Chemin().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(f.c_str(), 0666), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                      platform::WhyNotWritable(f) == WriteBlock::FolderReadOnly;
      ::_exit(ok ? 0 : 1);
    }
    int etat = 0;
    ::waitpid(pid, &etat, 0);
    EXPECT_TRUE(WIFEXITED(etat) && WEXITSTATUS(etat) == 0);
  } else {
    EXPECT_EQ(platform::WhyNotWritable(f), WriteBlock::FolderReadOnly);
  }
  ::chmod(dossier.Chemin().c_str(), 0755);
}
