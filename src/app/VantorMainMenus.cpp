// The menu bar of the main window: File, View, Options, Help.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>

#include "app/ScrollLock.h"
#include "app/VantorMain.h"

namespace vantor {
namespace {

constexpr const char* kHelpLines[] = {
    "Most functions of this program should be obvious and self-explanatory.",
    "There are a few context menus, so try and right-click stuff.",
    "You can swap columns and rows of the Color RAM by dragging the border cells.",
    "You can enter \"+\", \"-\", \"*\" or \"/\" in the hex/dec/bin edit fields to increase",
    "or decrease values by 1 or by 16/10/2. To disable this, activate Scroll Lock (key or Options "
    "menu).",
    "",
    "The floating View window:",
    "\"/\" and \"*\" or Ctrl+mouse wheel to change zoom",
    "\"+\" and \"-\" to change alpha",
    "\"0\" to \"3\" or mouse wheel to change PalLine (only in Pattern view)",
    "\"space\" or middle mouse button to toggle halftone stretching",
    "\"Ctrl+C\" to copy bitmap to Clipboard (in original size)",
    "\"Enter\" to save bitmap to file (in zoomed size)",
    "\"G\", \"R\", \"W\", \"B\", \"D\" (Screen): overlays plane A grid, plane B grid, window band,",
    "sprite boxes, sprite drop lines (also in the context menu; never in saved bitmaps unless",
    "\"Save with overlays...\")",
    "",
    "Screen page and Screen view: the status bar names what made the pixel under the mouse;",
    "a click pins its account, whose links open the Video RAM editor, the pattern, the sprite",
    "or the colour. Screen page overlays: Alt+G, Alt+R, Alt+W, Alt+B, Alt+D.",
    "VRAM Map page: hover a block to name its use, click it to open the Video RAM editor there.",
};

constexpr const char* kAboutLines[] = {
    "Viewer / Editor for Genecyst type Mega Drive / Genesis savestates",
    ("Version " VANTOR_VERSION),
    "",
    "Where each piece of machine state lies is described by the layout file (vantor.ini).",
};

template <std::size_t N>
QString joinLines(const char* const (&lines)[N]) {
  QString text;
  for (const char* line : lines)
    text += QString::fromLatin1(line) + QLatin1Char('\n');
  return text;
}

struct TViewItem {
  int Identifier;
  const char* Caption;
  Qt::Key Shortcut;
};
constexpr TViewItem kViewItems[] = {
    {vmiScreen, "&Screen", Qt::Key_F5},
    {vmiPatterns, "&Patterns", Qt::Key_F6},
    {vmiSprites, "Sp&rites", Qt::Key_F7},
};

}  // namespace

void TfrmMain::createMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* load = file->addAction(QStringLiteral("&Load Savestate..."));
  load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(load, &QAction::triggered, this, [this] { RunCommand([this] { LoadSavestate(); }); });
  QAction* save = file->addAction(QStringLiteral("&Save Savestate"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(save, &QAction::triggered, this, [this] { RunCommand([this] { SaveSavestate(); }); });
  QAction* saveAs = file->addAction(QStringLiteral("Save &as..."));
  connect(saveAs, &QAction::triggered, this, [this] { RunCommand([this] { SaveSavestateAs(); }); });
  file->addSeparator();
  QAction* exitItem = file->addAction(QStringLiteral("&Exit"));
  connect(exitItem, &QAction::triggered, this, &QWidget::close);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  m_viewGroup = new QActionGroup(this);
  // One radio group whose checked item may also be unchecked again.
  m_viewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (std::size_t i = 0; i < std::size(kViewItems); ++i) {
    const TViewItem& item = kViewItems[i];
    QAction* action = view->addAction(QString::fromLatin1(item.Caption));
    action->setShortcut(QKeySequence(item.Shortcut));
    action->setCheckable(true);
    action->setData(item.Identifier);
    m_viewGroup->addAction(action);
    m_viewItems[i] = action;
    const int identifier = item.Identifier;
    connect(action, &QAction::triggered, this,
            [this, identifier] { emit viewMenuChosen(identifier); });
  }

  // The same switch as the Scroll Lock key, for keyboards and desktops where the key has no lock.
  QMenu* options = menuBar()->addMenu(QStringLiteral("Op&tions"));
  m_miScrollLock = options->addAction(QStringLiteral("&Scroll Lock (type + - * / as text)"));
  m_miScrollLock->setObjectName(QStringLiteral("miScrollLock"));
  m_miScrollLock->setCheckable(true);
  connect(m_miScrollLock, &QAction::toggled, this, &TfrmMain::showScrollLock);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* tinyHelp = help->addAction(QStringLiteral("Tiny &Help"));
  tinyHelp->setShortcut(QKeySequence(Qt::Key_F1));
  connect(tinyHelp, &QAction::triggered, this, [this] { showHelp(false); });
  QAction* about = help->addAction(QStringLiteral("&About"));
  connect(about, &QAction::triggered, this, [this] { showHelp(true); });

  // F10 opens the menu bar anywhere in the window, also on the pages whose own access keys take
  // Alt+F, Alt+V or Alt+H.
  auto* menuKey = new QAction(this);
  menuKey->setObjectName(QStringLiteral("miMenuBar"));
  menuKey->setShortcut(QKeySequence(Qt::Key_F10));
  addAction(menuKey);
  connect(menuKey, &QAction::triggered, this,
          [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
}

void TfrmMain::showHelp(bool about) {
  m_dialogs->ShowMessage(TMsgDlgType::mtInformation,
                         about ? joinLines(kAboutLines) : joinLines(kHelpLines), mbOK);
}

bool TfrmMain::ScrollLockActive() const {
  return (m_miScrollLock && m_miScrollLock->isChecked()) || ScrollLockOn();
}

// The indicator follows the switch at once and the key when it is released or the window
// becomes active again (the key's light may change while another program has the keyboard).
void TfrmMain::showScrollLock() {
  if (m_lblScrollLock) m_lblScrollLock->setEnabled(ScrollLockActive());
}

QAction* TfrmMain::ViewMenuItem(int identifier) const {
  if (identifier < vmiScreen || identifier > vmiSprites) return nullptr;
  return m_viewItems[std::size_t(identifier - 1)];
}

void TfrmMain::ViewWindowClosed() {
  for (QAction* item : m_viewItems)
    item->setChecked(false);
}

}  // namespace vantor
