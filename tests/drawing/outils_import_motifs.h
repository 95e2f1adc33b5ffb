#pragma once
// What the tests of the pattern imports share: the fixture files, the
// default library, names of entries and categories, the check that a
// library refers to nothing outside itself, and the scripted dialogs with a
// count of the document-modified signals.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "foundation/flux.h"
#include "platform/scripted_dialogs.h"

namespace testimport {

// A pattern file of tests/drawing/fixtures.
inline std::string Fixture(const std::string& nom) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom;
}

inline const std::string kErreurImport =
    "Erreur de fichier - Les motifs, les fontes et les symboles n'ont pas pu être importés";

inline std::unique_ptr<drawing::tListeMtf> Defaut() {
  auto m = std::make_unique<drawing::tListeMtf>(0);
  m->InitDefaut();
  return m;
}

inline std::string OctetsDocument(drawing::tListeMtf& m) {
  foundation::TFluxMemoire f;
  EXPECT_TRUE(m.EcritObjet(f, false));
  return f.Octets();
}

inline std::vector<std::string> Noms(const drawing::TListeMotifsBase& l, int depuis = 0) {
  std::vector<std::string> r;
  for (int i = depuis; i < l.Count(); ++i) r.push_back(l.UnObjet(i)->DesignMotif);
  return r;
}

inline std::vector<std::string> NomsCategories(const drawing::TListeMotifsBase& l) {
  std::vector<std::string> r;
  for (const auto& c : l.ListeCategories) r.push_back(c->UnNomCategorie);
  return r;
}

// The name of an entry's category, "-" for none.
inline std::string NomCategorie(const drawing::TObjetMotifdeBase* m) {
  return m->UneCategorie ? m->UneCategorie->UnNomCategorie : "-";
}

// Every entry of the library belongs to its list, its category is one of its
// list's, a style's or fill's texture is one of the library's textures.
inline void VerifieRattachement(const drawing::tListeMtf& b) {
  for (const drawing::TListeMotifsBase* l : b.ListeMotif)
    for (const drawing::TObjetMotifdeBase* m : *l) {
      EXPECT_EQ(m->ListeProprio, l) << m->DesignMotif;
      EXPECT_TRUE(!m->UneCategorie || l->IndexDeCategorie(m->UneCategorie) >= 0) << m->DesignMotif;
      if (const auto* t = dynamic_cast<const drawing::TDefObjetTrait*>(m); t && t->UneTexture)
        EXPECT_GE(b.ListeTextures.IndexOf(t->UneTexture), 0) << m->DesignMotif;
    }
}

// The scripted dialogs and a count of the document-modified signals.
struct Environnement {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
  drawing::GardePortsMotifs ports;
  int modifications = 0;
  Environnement() {
    drawing::Ports() = drawing::PortsMotifs();
    drawing::Ports().DocumentModifie = [this] { ++modifications; };
  }
};

}  // namespace testimport
