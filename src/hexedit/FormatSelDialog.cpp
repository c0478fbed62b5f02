#include "hexedit/FormatSelDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "hexedit/QuorHDataObject.h"

namespace vantor {

TFormatSelDialog::TFormatSelDialog(QWidget* owner, const QStringList& names, int preselected,
                                   bool hexText)
    : QDialog(owner), m_list(new QListWidget(this)), m_hexText(new QCheckBox(this)) {
  setWindowTitle(QStringLiteral("Select Data Format"));
  m_list->addItems(names);
  m_list->setCurrentRow(preselected >= 0 && preselected < names.size() ? preselected : 0);
  m_hexText->setText(QStringLiteral("Hex Text"));
  m_hexText->setChecked(hexText);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_list);
  layout->addWidget(m_hexText);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(m_list, &QListWidget::currentRowChanged, this, [this] { UpdateHexText(); });
  UpdateHexText();

  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QSize size = screen->availableGeometry().size() / 4;
    resize(size);
    const QRect over = owner ? owner->window()->frameGeometry() : screen->availableGeometry();
    move(over.center() - QPoint(size.width() / 2, size.height() / 2));
  }
}

void TFormatSelDialog::UpdateHexText() {
  const QListWidgetItem* item = m_list->currentItem();
  m_hexText->setEnabled(item != nullptr && CanReadAsHexText(item->text()));
}

std::optional<TFormatChoice> TFormatSelDialog::Ask(QWidget* owner, const QStringList& names,
                                                   int preselected, bool hexText) {
  TFormatSelDialog dialog(owner, names, preselected, hexText);
  if (dialog.exec() != QDialog::Accepted || dialog.m_list->currentRow() < 0) return std::nullopt;
  // The "Hex Text" box is remembered as the user left it, even when another format was chosen.
  return TFormatChoice{dialog.m_list->currentRow(), dialog.m_hexText->isChecked()};
}

}  // namespace vantor
