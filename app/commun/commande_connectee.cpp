#include "app/commun/commande_connectee.h"

#include <QVariant>

namespace app {
namespace {

constexpr const char* kGestionnaire = "graveluneGestionnaire";

}  // namespace

void MarqueGestionnaire(QObject* controle) {
  if (controle) controle->setProperty(kGestionnaire, true);
}

bool AUnGestionnaire(const QObject* controle) { return controle && controle->property(kGestionnaire).toBool(); }

}  // namespace app
