#include "pages/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vantor {

QStringList QtNameFilters(const QString& filter) {
  QStringList result;
  if (filter.isEmpty()) return result;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // A description that names its patterns ("Bitmap files (*.bmp; *.dib)") gets this
    // platform's list in their place: Qt reads the patterns from the last parentheses.
    if (description.endsWith(QLatin1Char(')'))) {
      const qsizetype open = description.lastIndexOf(QLatin1Char('('));
      if (open > 0) description = description.left(open).trimmed();
    }
    QStringList patterns;
    if (i + 1 < parts.size()) {
      for (QString pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        if (!pattern.isEmpty()) patterns << pattern;
      }
    }
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    result << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
  }
  return result;
}

QString MessageTitle(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtError:
      return QStringLiteral("Error");
    case TMsgDlgType::mtInformation:
      return QStringLiteral("Information");
    case TMsgDlgType::mtConfirmation:
      return QStringLiteral("Confirm");
  }
  return {};
}

bool TQtDialogs::execute(TFileDialog& dialog, bool save) {
  QFileDialog box(m_parent);
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
  box.setOption(QFileDialog::ReadOnly, false);
  box.setSizeGripEnabled(true);
  const QStringList filters = QtNameFilters(dialog.Filter);
  if (!filters.isEmpty()) {
    box.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
      box.selectNameFilter(filters[dialog.FilterIndex - 1]);
  }
  if (!dialog.DefaultExt.isEmpty()) box.setDefaultSuffix(dialog.DefaultExt);
  if (!dialog.FileName.isEmpty()) box.selectFile(dialog.FileName);
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
  dialog.FileName = box.selectedFiles().constFirst();
  const qsizetype chosen = filters.indexOf(box.selectedNameFilter());
  if (chosen >= 0) dialog.FilterIndex = int(chosen) + 1;
  return true;
}

bool TQtDialogs::GetOpenFileName(TFileDialog& dialog) {
  return execute(dialog, false);
}

bool TQtDialogs::GetSaveFileName(TFileDialog& dialog) {
  return execute(dialog, true);
}

TMsgDlgBtn TQtDialogs::ShowMessage(TMsgDlgType type, const QString& text, TMsgDlgButtons buttons) {
  static constexpr struct {
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Standard;
  } kButtons[] = {{mbOK, QMessageBox::Ok},
                  {mbYes, QMessageBox::Yes},
                  {mbNo, QMessageBox::No},
                  {mbCancel, QMessageBox::Cancel}};
  QMessageBox::Icon icon = QMessageBox::Information;
  if (type == TMsgDlgType::mtError) icon = QMessageBox::Critical;
  if (type == TMsgDlgType::mtConfirmation) icon = QMessageBox::Question;
  QMessageBox::StandardButtons standard;
  for (const auto& b : kButtons) {
    if (buttons & b.Button) standard |= b.Standard;
  }
  if (standard == QMessageBox::NoButton) standard = QMessageBox::Ok;
  QMessageBox box(icon, MessageTitle(type), text, standard, m_parent);
  if (buttons & mbCancel) box.setEscapeButton(QMessageBox::Cancel);
  const int answer = box.exec();
  for (const auto& b : kButtons) {
    if (answer == b.Standard) return b.Button;
  }
  return (buttons & mbCancel) ? mbCancel : mbOK;
}

std::optional<QColor> TQtDialogs::ChooseColor(const QColor& initial) {
  const QColor color = QColorDialog::getColor(initial, m_parent);
  if (!color.isValid()) return std::nullopt;
  return color;
}

void TQtDialogs::Beep() {
  QApplication::beep();
}

}  // namespace vantor
