// The "Patterns && Sprites" page: every pattern of the pattern source as one zoomable strip,
// every sprite of the sprite attribute table as a second strip, and the attributes of the
// current sprite in a row of controls. Pattern pixels come from the savestate image at every
// paint; sprites come from the model, which is the working copy while this page is shown.
#pragma once

#include "pages/VDPPage.h"
#include "vdp/Bitmap.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QActionGroup;

namespace vantor {

class TCellStrip;
class TLinkLabel;

// The filter of the bitmap save dialog.
inline constexpr const char* kBitmapFilter =
    "Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*";
// The filter of the picture open dialog of "Load from Bitmap...".
inline constexpr const char* kPictureFilter =
    "Pictures (*.bmp; *.dib; *.png)|*.bmp;*.dib;*.png|All files (*.*)|*.*";

class TPatternsSpritesPage : public TVDPPage {
  Q_OBJECT

 public:
  explicit TPatternsSpritesPage(TPageHost& host, QWidget* parent = nullptr);

  // tsPatSprViewShow: sizes both strips for the cell size and their zoom, applies the palette
  // line and shows the current sprite's attributes.
  void PageShow() override;
  void CommitEdit() override;

  // The controls, for the main window's wiring and for tests.
  QComboBox* cbPalLine() const { return m_cbPalLine; }
  QComboBox* cbPatternSrc() const { return m_cbPatternSrc; }
  TCellStrip* dgPatterns() const { return m_dgPatterns; }
  TCellStrip* dgSprites() const { return m_dgSprites; }
  QLineEdit* lbledSpriteHPos() const { return m_edHPos; }
  QLineEdit* lbledSpriteVPos() const { return m_edVPos; }
  QComboBox* cbSpriteSize() const { return m_cbSize; }
  QLineEdit* lbledSpriteLink() const { return m_edLink; }
  QCheckBox* chkSpritePriority() const { return m_chkPriority; }
  QComboBox* cbSpritePal() const { return m_cbPal; }
  QCheckBox* chkSpriteHF() const { return m_chkHF; }
  QCheckBox* chkSpriteVF() const { return m_chkVF; }
  QLineEdit* lbledSpritePattern() const { return m_edPattern; }
  TLinkLabel* LinkDataLabel() const { return m_lblLink; }
  TLinkLabel* FirstPatternLabel() const { return m_lblPattern; }
  QMenu* pmPatSpr() const { return m_menu; }

  // Stores the controls' values into sprite `from` when store is true, then shows sprite `to`.
  void SyncSpriteAttributes(int from, int to, bool store);
  // An attribute control was left or changed by the user.
  void SpriteAttributeChange();
  // The link labels; only the left button does anything.
  void SpriteLinkEditLabelMouseDown(Qt::MouseButton button);
  void SpritePatternEditLabelMouseDown(Qt::MouseButton button);
  // The intents of the pixel inspector, once the page is shown: pattern `pattern` of Video RAM
  // current in the pattern strip, shown in palette line paletteLine; sprite `sprite` current
  // in the sprite strip with its attributes in the boxes.
  void ShowPattern(int pattern, int paletteLine);
  void ShowSprite(int sprite);

  // The strip the pop-up menu works on: the pattern strip while it has the keyboard focus,
  // else the sprite strip. Fixed when the menu opens.
  TCellStrip* MenuTarget() const;
  // pmiPatSprZoomClick: zoom (1, 2, 4, 6, 8) of the menu's strip, then the page is rebuilt.
  void SetZoom(TCellStrip* strip, int zoom);
  // pmiPatSprSaveClick.
  void SaveAllToBitmap(TCellStrip* strip);
  // pmiPatSprLoad: patterns from a picture file, cut into cells, from the pattern strip's
  // current pattern on, into the chosen pattern source; colours of direct-colour pictures are
  // matched against the chosen palette line. A picture that does not fit is refused with a
  // message and nothing changes.
  void LoadPatternsFromBitmap();
  // Enter or a double click on a strip: the memory page at the pattern's or sprite entry's
  // bytes.
  void JumpToBytes(TCellStrip* strip);

 private:
  void BuildControls();
  QWidget* BuildAttributeRow();
  void BuildMenu();
  void SelectPattern(int n);
  void cbPalLineChange(QComboBox* sender);
  void dgPatternsDrawCell(QPainter& painter, int column, const QRect& rect, bool focused);
  void dgSpritesDrawCell(QPainter& painter, int column, const QRect& rect, bool focused);
  void pmPatSprPopup();
  // Writes the picture's patterns into the source; the message when it is refused.
  QString ImportPatterns(const TIndexedBitmap& picture, bool& changed);

  TPageHost& m_host;
  QComboBox* m_cbPalLine = nullptr;
  QComboBox* m_cbPatternSrc = nullptr;
  TCellStrip* m_dgPatterns = nullptr;
  TCellStrip* m_dgSprites = nullptr;
  QLineEdit* m_edHPos = nullptr;
  QLineEdit* m_edVPos = nullptr;
  QComboBox* m_cbSize = nullptr;
  QLineEdit* m_edLink = nullptr;
  QCheckBox* m_chkPriority = nullptr;
  QComboBox* m_cbPal = nullptr;
  QCheckBox* m_chkHF = nullptr;
  QCheckBox* m_chkVF = nullptr;
  QLineEdit* m_edPattern = nullptr;
  TLinkLabel* m_lblLink = nullptr;
  TLinkLabel* m_lblPattern = nullptr;
  QMenu* m_menu = nullptr;
  QActionGroup* m_zoomGroup = nullptr;
  QAction* m_loadAction = nullptr;
  TCellStrip* m_menuTarget = nullptr;
  // SpriteCellBitmap: room for the largest sprite, 8 bits per pixel.
  TIndexedBitmap m_spriteCell;
};

}  // namespace vantor
