#pragma once
// The export of a part of the active cave as a document of its own (the
// file name proposed ends with "-part.cav"): the user marks shots in the
// selection window; a temporary network holding one cave made of those
// shots, their stations, galleries and survey trips, the matching parts of
// the plan drawing and of the long sections, is saved by the ordinary
// document writer while it stands in for the open network; everything is
// then put back.  Where the part hangs on the rest of the survey, a station
// becomes a surface point at its computed coordinates: the first station of
// the part, and the first station of every other piece of the part that no
// surface point holds.
//
// The exported cave shares the open document's objects instead of copying
// them: its shots, survey trips, stations, cross sections and the long
// sections' page layouts are the open cave's own (its lists hand them back
// unfreed), and so is the pattern library the file is written with.  The
// drawing elements are new, with copies of the points whose shot is
// exported.  A station that becomes a surface point is replaced at the
// shots' ends by its copy for the time of the save.  Whatever ends the
// export (a cancelled dialog, a failed save, an exception) the open
// document is as it was: its shots, stations and elements, its file and
// lock, its name, modified flag and every process-wide value.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "survey/reseau.h"

namespace survey {
class TCavite;
class TGalerie;
class TPointSpeleo;
class TVisee;
}  // namespace survey

namespace drawing {
class TDonneesCoupeLong;
class TDonneesDessinBasique;
class TListeDonneesDessin;
class TObjetDonneesBasique;
class TObjetDonneesRemplir;
class TObjetTexte;
}  // namespace drawing

namespace formats {

// The network of the exported part.  Made while the open network is
// current, it becomes the current one with its own empty background maps,
// loop list and plan page layouts, and, for its whole life, the open
// network's operators, instruments and pattern library, which its file is
// written with; its name, coordinate system and zone are the open
// network's; it holds its surface cave.  Freeing it gives back what it
// shares (Partage) and the operators and instruments.  It is made and freed
// within the saved process-wide contexts (TGardeExportPartie).
class TReseauTmp : public survey::TReseau {
 public:
  explicit TReseauTmp(survey::TReseau& ouvert);
  ~TReseauTmp();

  // Appends to an owning list of the temporary network an object that
  // another list owns; the list hands it back, unfreed, before the network
  // is freed.
  template <class Liste, class T>
  void Partage(Liste& liste, T* objet) {
    std::unordered_set<const void*>& partages = partages_[&liste];
    if (partages.empty())
      rendus_.push_back([&liste, &partages] {
        for (int i = liste.Count() - 1; i >= 0; --i)
          if (partages.count(liste.UnObjet(i))) liste.Extract(i).release();
      });
    partages.insert(objet);
    liste.Add(std::unique_ptr<T>(objet));
  }

 private:
  class GardePret;
  TReseauTmp(survey::TReseau& ouvert, GardePret&& pret);
  survey::TReseau& ouvert_;
  // The objects each list holds for another owner.
  std::unordered_map<const void*, std::unordered_set<const void*>> partages_;
  std::vector<std::function<void()>> rendus_;
};

// One export: the source cave, the cave being built in the temporary
// network, and what has been copied so far.
class TCopiePartie {
 public:
  TCopiePartie(survey::TCavite& source, TReseauTmp& reseau, survey::TCavite& nouvelle,
               const std::vector<survey::TVisee*>& visees);

  // The marked shots in cave order with their stations (TransferePointExport)
  // and their trips; the new cave takes the source's name and text scale.
  // A piece of the part that does not touch the first one (through a shot
  // or a shared station) goes into a cave of its own, named after the
  // source followed by " (2)", " (3)"...: a cave is computed from one
  // entrance through its shots.  The drawings stay with the first cave.
  void CopieViseesMarquees();
  // A station of a shot: the surface copy when it has one (a surface point,
  // or the first station of a piece of the part), else into the exported
  // gallery of its gallery in the shot's cave (made on first use, with the
  // same name).
  void TransferePointExport(survey::TPointSpeleo* station, survey::TVisee& visee, bool premiere);
  // The element's copy with the points whose shot is exported; the source
  // element's EquivTransfert is the copy when it holds more than one point,
  // else none.
  std::unique_ptr<drawing::TObjetDonneesBasique> CopieObjetMarque(drawing::TObjetDonneesBasique& source);
  // Lines of more than one point, fills all of whose lines came, symbols of
  // at least one point, texts (CopieTexte).
  void CopieListeDessin(drawing::TListeDonneesDessin& source, drawing::TListeDonneesDessin& destination);
  std::unique_ptr<drawing::TObjetDonneesRemplir> CopieRemplissage(drawing::TObjetDonneesRemplir& source);
  // None for a text without point, or a survey label whose station is not
  // exported.
  std::unique_ptr<drawing::TObjetTexte> CopieTexte(drawing::TObjetTexte& source);
  // The elements, the cross sections whose two points are tied to exported
  // shots (shared), the offset parts that keep an exported shot, and the
  // drawing's scales and settings.
  void CopieDonneesDessin(drawing::TDonneesDessinBasique& source, drawing::TDonneesDessinBasique& destination);
  // Long section i of the source: section 0 into the new cave's first
  // section, the others into new sections; a partial section takes the
  // entries of its exported shots, and one that receives none is left out
  // (the new cave's first section is kept).
  void CopieCoupeLong(drawing::TDonneesCoupeLong& source, int i);

  bool Exportee(const survey::TVisee* v) const { return visees_.count(v) != 0; }

 private:
  struct Element {
    drawing::TObjetDonneesBasique* e;
    drawing::TObjetDonneesBasique* EquivTransfert;
    bool effacer, Selecte;
  };
  // Remembers the work fields of a source element before it is copied.
  void Retiens(drawing::TObjetDonneesBasique& e);

  survey::TCavite& source_;
  TReseauTmp& reseau_;
  survey::TCavite& nouvelle_;
  const std::vector<survey::TVisee*>& liste_;
  std::unordered_set<const survey::TVisee*> visees_;
  std::unordered_set<const survey::TPointSpeleo*> stations_;
  std::unordered_map<const survey::TPointSpeleo*, survey::TPointSpeleo*> copies_;
  // The exported gallery of each gallery, in each cave of the part.
  struct CleGalerie {
    const survey::TCavite* c;
    const survey::TGalerie* g;
    bool operator==(const CleGalerie&) const = default;
  };
  struct HacheGalerie {
    size_t operator()(const CleGalerie& k) const {
      return std::hash<const void*>()(k.c) ^ (std::hash<const void*>()(k.g) << 1);
    }
  };
  std::unordered_map<CleGalerie, survey::TGalerie*, HacheGalerie> GalExport;
  survey::TCavite* caviteCourante_;  // the cave the shot being copied goes to
  std::unordered_map<const survey::TVisee*, const survey::TCavite*> cavesDesVisees_;

 public:
  // The source elements' work fields as they were, put back by the export.
  std::vector<Element> ElementsTouches;
};

// The proposed file name: the document's path (the network's name when it
// has none) with its file name cut at its first "." and "-part.cav" added.
std::string NomFichierPartie(const std::string& nomDocument, const std::string& nomReseau);

// The command "Partie d'une cavité": the selection window titled "Export
// d'une partie d'une cavité" over the active cave, then the file of the
// marked shots through the document writer (the name asked for).  A save
// that raises an error says "Erreur d'écriture du fichier ... Il n'a pas pu
// être enregistré"; an ordinary failure is the writer's own message.  True
// when the window was closed with OK.
bool ExportePartieCavite(survey::TReseau& ouvert);

}  // namespace formats
