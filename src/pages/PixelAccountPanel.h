// The pinned account of one screen pixel: layer by layer what the screen took there, the
// winner and why, and the colour, with links to where each piece lives - the name table word
// and the pattern byte in the Video RAM editor, the pattern on "Patterns && Sprites" with its
// palette line, the sprite's attributes, the colour in "Color RAM". A click on a link states
// the intent as a signal; the Screen page and the view window pass them on.
#pragma once

#include <QFrame>
#include <cstdint>

#include "pages/PageHost.h"

class QLabel;
class QVBoxLayout;

namespace vantor {

struct TCellAccount;
struct TPatternPixel;
struct TPixelAccount;
class TLinkLabel;

class TPixelAccountPanel : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kWidth = 270;

  explicit TPixelAccountPanel(QWidget* parent = nullptr);

  // Shows the account (replacing the one shown). The links are named for tests and tools:
  // lnkCRAM, lnkSprite, lnkSpriteEntry, lnkSpritePattern, lnkSpriteByte, and for each of
  // PlaneB, PlaneA, Window: lnk<Layer>Name, lnk<Layer>Pattern, lnk<Layer>Byte.
  void ShowAccount(const TPixelAccount& account);
  // The pixel shown, (-1, -1) before the first account.
  QPoint Pixel() const { return m_pixel; }

 signals:
  void jumpToMemory(vantor::THexPageId page, int64_t offset);
  void showPattern(int pattern, int paletteLine);
  void showSprite(int sprite);
  void colorEntryChosen(int entry);
  // The close button.
  void closeRequested();

 private:
  class TRow;
  TRow& addRow(const QString& caption, bool winner);
  TLinkLabel* link(TRow& row, const QString& name, const QString& text);
  // The pattern link, the pixel's byte link and its colour index, then `end`.
  void addPattern(TRow& row, const QString& layer, const TPatternPixel& pixel,
                  const QString& end = QString());
  void addCell(const QString& caption, const QString& layer, const TCellAccount& cell, bool plane,
               bool winner);
  void addSprite(const TPixelAccount& account);
  void clearRows();

  QLabel* m_title = nullptr;
  QVBoxLayout* m_rows = nullptr;
  QPoint m_pixel{-1, -1};
};

}  // namespace vantor
