#include <cstdio>

#include "survey/dossiers.h"

int main() {
  survey::InitialiseSurvey();
  std::puts("Gravelune : la fenêtre principale n'est pas encore construite.");
  survey::TermineSurvey();
  return 0;
}
