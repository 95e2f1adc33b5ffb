#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"

namespace platform {
namespace {

using platform::qt::Q;
QString M(foundation::IdMsg id) { return Q(foundation::Msg(id)); }

// A dialog that places itself in the middle of the screen when shown.
template <class Base>
class Centred : public Base {
 public:
  using Base::Base;

 protected:
  void showEvent(QShowEvent* e) override {
    Base::showEvent(e);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect g = screen->availableGeometry();
    this->move(g.x() + (g.width() - this->width()) / 2, g.y() + (g.height() - this->height()) / 2);
  }
};

QString Caption(const std::string& caption, const QString& fallback) {
  if (!caption.empty()) return Q(caption);
  if (!fallback.isEmpty()) return fallback;
  return QGuiApplication::applicationDisplayName();
}

Answer Ask(QWidget* parent, const std::string& text, const std::string& caption, bool withCancel) {
  Centred<QMessageBox> box(parent);
  box.setIcon(QMessageBox::Question);
  box.setWindowTitle(Caption(caption, M(foundation::IdMsg::PlateformeConfirmation)));
  box.setText(Q(text));
  box.setStandardButtons(withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                    : QMessageBox::Yes | QMessageBox::No);
  box.button(QMessageBox::Yes)->setText(M(foundation::IdMsg::PlateformeOui));
  box.button(QMessageBox::No)->setText(M(foundation::IdMsg::PlateformeNon));
  if (withCancel) box.button(QMessageBox::Cancel)->setText(M(foundation::IdMsg::PlateformeAnnuler));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return withCancel ? Answer::Cancel : Answer::No;
  }
}

std::vector<std::string> SplitPatterns(const std::string& patterns) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : patterns + ";") {
    if (c == ';') {
      while (!cur.empty() && cur.front() == ' ') cur.erase(0, 1);
      while (!cur.empty() && cur.back() == ' ') cur.pop_back();
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  return out;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  QStringList out;
  for (const FilterEntry& e : ParseFilter(filter)) {
    QStringList globs;
    for (const std::string& p : SplitPatterns(e.Patterns)) globs << Q(p);
    if (globs.isEmpty()) globs << QStringLiteral("*");
    // Qt takes the patterns from the last parenthesised group of the name and
    // shows the name as given: a description that already ends with its own
    // patterns ("Fichiers Gravelune (*.cav)") is shown once, as it stands.
    const QString description = Q(e.Description).simplified();
    const QString groupe = QStringLiteral("(") + globs.join(QLatin1Char(' ')) + QStringLiteral(")");
    if (description.endsWith(groupe, Qt::CaseInsensitive))
      out << description;
    else
      out << (description.isEmpty() ? groupe : description + QLatin1Char(' ') + groupe);
  }
  return out;
}

std::string WithDefaultExtension(const std::string& path, const FileDialogOptions& options, int filterIndex) {
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  std::string ext;
  const auto entries = ParseFilter(options.Filter);
  if (filterIndex >= 1 && filterIndex <= static_cast<int>(entries.size())) {
    const auto globs = SplitPatterns(entries[filterIndex - 1].Patterns);
    if (globs.size() == 1 && globs[0].size() > 2 && globs[0].compare(0, 2, "*.") == 0 &&
        globs[0].find_first_of("*?[", 2) == std::string::npos)
      ext = globs[0].substr(2);
  }
  if (ext.empty()) ext = options.DefaultExtension;
  while (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  return ext.empty() ? path : path + "." + ext;
}

void QtDialogs::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) {
  Centred<QMessageBox> box(parent_);
  QString fallback;
  switch (kind) {
    case MessageKind::Information: box.setIcon(QMessageBox::NoIcon); break;
    case MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      fallback = M(foundation::IdMsg::PlateformeAvertissement);
      break;
    case MessageKind::Error:
      box.setIcon(QMessageBox::Critical);
      fallback = M(foundation::IdMsg::PlateformeErreur);
      break;
  }
  box.setWindowTitle(Caption(caption, fallback));
  box.setText(Q(text));
  box.setStandardButtons(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setText(M(foundation::IdMsg::PlateformeOK));
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

Answer QtDialogs::AskYesNo(const std::string& text, const std::string& caption) {
  return Ask(parent_, text, caption, false);
}

Answer QtDialogs::AskYesNoCancel(const std::string& text, const std::string& caption) {
  return Ask(parent_, text, caption, true);
}

std::optional<std::string> QtDialogs::Prompt(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) {
  Centred<QInputDialog> d(parent_);
  d.setInputMode(QInputDialog::TextInput);
  d.setWindowTitle(Caption(caption, QString()));
  d.setLabelText(Q(prompt));
  d.setTextValue(Q(initial));
  d.setOkButtonText(M(foundation::IdMsg::PlateformeOK));
  d.setCancelButtonText(M(foundation::IdMsg::PlateformeAnnuler));
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return d.textValue().toStdString();
}

std::optional<FileChoice> QtDialogs::RunFileDialog(const FileDialogOptions& o, bool save) {
  Centred<QFileDialog> d(parent_);
  // The widget dialog everywhere: the same behaviour on every desktop, filters
  // matched without regard to case.
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setOption(QFileDialog::DontConfirmOverwrite, true);  // the callers ask themselves
  d.setFilter(d.filter() & ~QDir::CaseSensitive);
  d.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(save ? QFileDialog::AnyFile : (o.AllowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
  d.setWindowTitle(o.Title.empty() ? M(save ? foundation::IdMsg::PlateformeEnregistrerSous
                                            : foundation::IdMsg::PlateformeOuvrir)
                                   : Q(o.Title));
  d.setLabelText(QFileDialog::Accept,
                 M(save ? foundation::IdMsg::PlateformeEnregistrer : foundation::IdMsg::PlateformeOuvrir));
  d.setLabelText(QFileDialog::Reject, M(foundation::IdMsg::PlateformeAnnuler));
  d.setLabelText(QFileDialog::FileName, M(foundation::IdMsg::PlateformeNomDuFichier));
  d.setLabelText(QFileDialog::FileType, M(foundation::IdMsg::PlateformeTypeDeFichier));
  d.setLabelText(QFileDialog::LookIn, M(foundation::IdMsg::PlateformeRegarderDans));
  const QStringList filters = QtNameFilters(o.Filter);
  if (!filters.isEmpty()) {
    d.setNameFilters(filters);
    const int index = std::clamp(o.FilterIndex, 1, static_cast<int>(filters.size()));
    d.selectNameFilter(filters[index - 1]);
  }
  if (!o.InitialFolder.empty()) d.setDirectory(Q(o.InitialFolder));
  if (!o.FileName.empty()) d.selectFile(Q(o.FileName));
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = d.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  FileChoice c;
  c.FilterIndex = filters.isEmpty() ? 1 : static_cast<int>(filters.indexOf(d.selectedNameFilter())) + 1;
  if (c.FilterIndex < 1) c.FilterIndex = 1;
  c.Path = chosen.first().toStdString();
  if (save) c.Path = WithDefaultExtension(c.Path, o, c.FilterIndex);
  return c;
}

std::optional<FileChoice> QtDialogs::SaveFile(const FileDialogOptions& options) { return RunFileDialog(options, true); }

std::optional<FileChoice> QtDialogs::OpenFile(const FileDialogOptions& options) { return RunFileDialog(options, false); }

std::optional<uint32_t> QtDialogs::ChooseColour(uint32_t initial) {
  Centred<QColorDialog> d(parent_);
  d.setOption(QColorDialog::DontUseNativeDialog, true);
  d.setCurrentColor(qt::CouleurQt(initial));
  if (d.exec() != QDialog::Accepted || !d.selectedColor().isValid()) return std::nullopt;
  return qt::CouleurWindows(d.selectedColor());
}

std::optional<FontChoice> QtDialogs::ChooseFont(const FontChoice& initial) {
  QFont f(FontFace(initial.Name));
  f.setPointSize(std::max(1, initial.Size));
  f.setBold((initial.Style & kFontBold) != 0);
  f.setItalic((initial.Style & kFontItalic) != 0);
  f.setUnderline((initial.Style & kFontUnderline) != 0);
  f.setStrikeOut((initial.Style & kFontStrikeOut) != 0);
  Centred<QFontDialog> d(parent_);
  d.setOption(QFontDialog::DontUseNativeDialog, true);
  d.setOption(QFontDialog::ScalableFonts, true);
  d.setCurrentFont(f);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  const QFont c = d.selectedFont();
  FontChoice r;
  r.Name = c.family().toStdString();
  r.Size = c.pointSize() > 0 ? c.pointSize() : initial.Size;
  r.Style = static_cast<uint8_t>((c.bold() ? kFontBold : 0) | (c.italic() ? kFontItalic : 0) |
                                 (c.underline() ? kFontUnderline : 0) | (c.strikeOut() ? kFontStrikeOut : 0));
  r.Colour = initial.Colour;
  return r;
}

void QtDialogs::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace platform
