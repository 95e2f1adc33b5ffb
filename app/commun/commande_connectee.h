#pragma once
// A command's handler, connected to its control by the call that marks the
// control as having one.  The main window enables a command (a menu entry, a
// button, a selector) only when it carries that mark and its state rule
// allows it: a control nobody connected stays disabled, and a handler once
// connected cannot be forgotten by a list kept elsewhere.
#include <QObject>
#include <utility>

namespace app {

// Marks the control as having a handler.
void MarqueGestionnaire(QObject* controle);
// The control was given a handler by ConnecteCommande.
bool AUnGestionnaire(const QObject* controle);

// Connects the handler to the control's signal and marks the control.
template <class Controle, class Signal, class F>
QMetaObject::Connection ConnecteCommande(Controle* controle, Signal signal, const QObject* contexte, F&& gestionnaire) {
  MarqueGestionnaire(controle);
  return QObject::connect(controle, signal, contexte, std::forward<F>(gestionnaire));
}

}  // namespace app
