#pragma once
// What the pattern model asks of the rest of the program, which it does not
// know: the editor windows of each kind, the document-modified flag, text
// measuring, the holders of references into a library whose entries are
// replaced, and the reader of another document's patterns.  Each port is a callback the program installs at start-up; tests
// install their own for a while with GardePortsMotifs.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace drawing {

class TObjetMotifdeBase;
class TDefObjetFonte;
class tListeMtf;

// Old entry -> new entry, after the lists of a library received the entries
// read into a scratch library.  Entries are matched by their position in
// their list, as the stream stores references.
class TRelogeMotifs {
 public:
  explicit TRelogeMotifs(const tListeMtf* bibliotheque) : Bibliotheque(bibliotheque) {}
  const tListeMtf* Bibliotheque;
  // The entry now at the old entry's position; none when the new list is
  // shorter; the entry itself when it was not one of the replaced entries.
  TObjetMotifdeBase* Reloge(TObjetMotifdeBase* ancien) const;
  // Whether the entry was one of the replaced entries.
  bool Remplace(const TObjetMotifdeBase* ancien) const { return table_.count(ancien) != 0; }
  void Associe(const TObjetMotifdeBase* ancien, TObjetMotifdeBase* nouveau) { table_[ancien] = nouveau; }

 private:
  std::unordered_map<const TObjetMotifdeBase*, TObjetMotifdeBase*> table_;
};

struct PortsMotifs {
  // Opens the editor of the entry's kind (style, texture, font, symbol or
  // north-arrow windows); true on OK.  None installed: cancelled.
  std::function<bool(TObjetMotifdeBase&)> EditeMotif;
  // Sets the document-modified flag.
  std::function<void()> DocumentModifie;
  // Width and height in pixels of a text written in a font; none installed:
  // texts are not measured.
  std::function<bool(const TDefObjetFonte&, const std::string&, double& largeur, double& hauteur)> MesureTexte;
  // Called while the old entries still exist, so that every stored
  // reference (drawing elements, layouts, surface points) can be moved to
  // the new entries before the old ones are freed.
  std::function<void(const TRelogeMotifs&)> RelogeReferences;
  // The seed of the texture pictures' random generator, asked before every
  // picture; none installed: the clock.
  std::function<uint64_t()> GraineTexture;
  // Reads the patterns of another document (a .cav file) with the document
  // globals set aside: every texture of the document and copies of its
  // entries that the library lacks go to the result.  False, after the
  // reader's message, when it cannot be read; none installed: not read.
  std::function<bool(const std::string& chemin, const tListeMtf& bibliotheque, tListeMtf& resultat)>
      LitMotifsAutreReseau;
};

PortsMotifs& Ports();

// Sets the document-modified flag through the port.
void SignaleDocumentModifie();

// Saves the ports and restores them on exit.
class GardePortsMotifs {
 public:
  GardePortsMotifs() : sauve_(Ports()) {}
  ~GardePortsMotifs() { Ports() = sauve_; }
  GardePortsMotifs(const GardePortsMotifs&) = delete;
  GardePortsMotifs& operator=(const GardePortsMotifs&) = delete;

 private:
  PortsMotifs sauve_;
};

}  // namespace drawing
