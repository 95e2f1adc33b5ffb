#pragma once
// Pairing of the main shots of two caves (each shot's ViseeEquiv), the
// comparison report built from it, and the pairing tolerance.
//
// Shots are compared by their measured azimuth (through a sine, so that a
// shot surveyed the other way round compares equal), their computed length
// and the size of their computed height difference.  The tolerant comparison
// decides equivalence only; the candidate list is sorted by a total key
// (measured azimuth, computed length, height difference) and searched
// through a grid by computed length and by direction modulo a half turn.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TVisee;
}  // namespace survey

namespace drawing {
class TDonneesCoupeLong;
}

namespace formats {

// The pairing tolerance in force (metres; 0.01 at start-up).
double ToleranceAppariement();

// Sets the pairing tolerance for a while and puts the previous one back, also
// on an exception.
class GardeToleranceAppariement {
 public:
  explicit GardeToleranceAppariement(double tolerance);
  ~GardeToleranceAppariement();
  GardeToleranceAppariement(const GardeToleranceAppariement&) = delete;
  GardeToleranceAppariement& operator=(const GardeToleranceAppariement&) = delete;

 private:
  double sauve_;
};

// The tolerance an update pairs with.
inline constexpr double ToleranceMaj = 0.05;

// -1, 0 or 1; 0 when the two shots are equivalent at the tolerance in force.
int CompareViseesMesures(const survey::TVisee& a, const survey::TVisee& b);
// The total order of the candidate list: measured azimuth, computed length,
// computed height difference.
bool AvantDansCandidats(const survey::TVisee* a, const survey::TVisee* b);

// Pairs the shots of cave a (the candidates) with those of cave b.  Every
// shot of both caves has its ViseeEquiv cleared first; the shots of b are
// recomputed.
void AppareilleVisees(survey::TCavite& a, survey::TCavite& b);
// Pairs the shots of each cave of the list in turn (as b) with the shots of
// every cave of the other list (the candidates, carried over from cave to
// cave).
void AppareilleAvecToutes(const std::vector<survey::TCavite*>& candidates,
                          const std::vector<survey::TCavite*>& cavites);

// A projected long section: its list of caves is rebuilt; with two caves or
// more, the shots of each of them (in order) are paired with every shot of
// the current network.
void AppareilleCoupeProjetee(drawing::TDonneesCoupeLong& coupe);

// The comparison report: A the open active cave, B the compared cave.  The
// shots without equivalent are marked, the others unmarked.
std::vector<std::string> EcritRapport(survey::TCavite& a, const std::string& cheminA, survey::TCavite& b,
                                      const std::string& cheminB);

// Clears every ViseeEquiv of the cave that points at a shot of another cave
// (before that cave is freed).
void OublieEquivalencesExternes(survey::TCavite& c);

}  // namespace formats
