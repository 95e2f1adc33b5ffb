#include "app/table/modele_visees.h"

#include <QColor>
#include <QTimer>
#include <exception>

#include "app/commun/erreurs.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/visee.h"

namespace app {

namespace {
using platform::qt::CouleurQt;

// A comment on one line of the table.
QString UneLigne(const std::string& s) {
  QString t = QString::fromStdString(s);
  t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  t.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return t.trimmed();
}
}  // namespace

TModeleVisees::TModeleVisees(TTableVisees& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {
  const auto& titres = TitresColonnes();
  for (size_t i = 0; i < titres.size(); ++i) titres_[i] = QString::fromStdString(titres[i]);
}

int TModeleVisees::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.Nombre(); }
int TModeleVisees::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : NombreColonnesVisees; }

const std::string& TModeleVisees::TexteSur(int ligne, int colonne) const {
  static const std::string vide;
  const survey::TValeurVisee* v = table_.Visee(ligne);
  if (!v || echecs_.count(v)) return vide;
  try {
    return table_.Texte(ligne, colonne);
  } catch (const std::exception& e) {
    echecs_[v] = QString::fromStdString(TexteErreur(e));
  }
  Signale(ligne, echecs_[v]);
  return vide;
}

QString TModeleVisees::Erreur(int ligne) const {
  const survey::TValeurVisee* v = table_.Visee(ligne);
  if (!v) return {};
  const auto it = echecs_.find(v);
  if (it != echecs_.end()) return it->second;
  return QString::fromStdString(TTableVisees::ErreurVisee(*v));
}

void TModeleVisees::Signale(int ligne, const QString& message) const {
  auto& table = const_cast<TTableVisees&>(table_);
  if (!table.NoteErreurDessin(ligne, message.toStdString()) || signalEnAttente_) return;
  signalEnAttente_ = true;
  // Reported after painting, never from inside it.
  QTimer::singleShot(0, const_cast<TModeleVisees*>(this), [this] {
    signalEnAttente_ = false;
    emit const_cast<TModeleVisees*>(this)->ErreursDeDessin();
  });
}

QVariant TModeleVisees::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int ligne = index.row();
  const int colonne = index.column();
  const survey::TValeurVisee* v = table_.Visee(ligne);
  if (!v) return {};
  switch (role) {
    case Qt::DisplayRole: {
      const std::string& t = TexteSur(ligne, colonne);
      if (colonne == ColonnePointVise) {
        const QString e = Erreur(ligne);
        if (!e.isEmpty()) Signale(ligne, e);
      }
      return colonne == ColonneCommentaires ? UneLigne(t) : QString::fromStdString(t);
    }
    case Qt::TextAlignmentRole:
      return static_cast<int>(Qt::AlignVCenter | (ColonneADroite(colonne) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::ForegroundRole:
      return CouleurQt(CouleurCellule(*v, colonne, surbrillance_));
    case Qt::BackgroundRole:
      if (colonne == ColonnePointVise && !Erreur(ligne).isEmpty()) return CouleurQt(CouleurCelluleErreur);
      return {};
    case Qt::ToolTipRole:
      if (colonne == ColonnePointVise) {
        const QString e = Erreur(ligne);
        if (!e.isEmpty()) return e;
      }
      return {};
    default:
      return {};
  }
}

QVariant TModeleVisees::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= NombreColonnesVisees) return {};
  if (role == Qt::DisplayRole) return titres_[static_cast<size_t>(section)];
  if (role == Qt::TextAlignmentRole)
    return static_cast<int>(Qt::AlignVCenter | (ColonneADroite(section) ? Qt::AlignRight : Qt::AlignLeft));
  return {};
}

void TModeleVisees::FixeTitre(int colonne, const QString& titre) {
  if (colonne < 0 || colonne >= NombreColonnesVisees || titres_[static_cast<size_t>(colonne)] == titre) return;
  titres_[static_cast<size_t>(colonne)] = titre;
  emit headerDataChanged(Qt::Horizontal, colonne, colonne);
}

void TModeleVisees::Reinitialise(const std::function<void()>& changement) {
  beginResetModel();
  echecs_.clear();
  try {
    if (changement) changement();
  } catch (const std::exception&) {
    endResetModel();
    throw;
  }
  endResetModel();
}

void TModeleVisees::AvantInsertion(int ligne) { beginInsertRows(QModelIndex(), ligne, ligne); }
void TModeleVisees::ApresInsertion() { endInsertRows(); }

void TModeleVisees::AvantRetrait(int premier, int dernier) {
  beginRemoveRows(QModelIndex(), premier, dernier);
  if (!echecs_.empty())
    for (int i = premier; i <= dernier; ++i) echecs_.erase(table_.Visee(i));
}
void TModeleVisees::ApresRetrait() { endRemoveRows(); }

void TModeleVisees::TextesChanges(int premier, int dernier) {
  if (premier > dernier || table_.Nombre() == 0) return;
  if (!echecs_.empty())
    for (int i = premier; i <= dernier; ++i) echecs_.erase(table_.Visee(i));
  emit dataChanged(index(premier, 0), index(dernier, NombreColonnesVisees - 1));
}

}  // namespace app
