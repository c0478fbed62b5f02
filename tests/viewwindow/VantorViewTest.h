#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <memory>

#include "support/ScriptedDialogs.h"
#include "vdp/MegaDriveVDP.h"
#include "viewwindow/VantorView.h"

namespace vantor {

class VantorViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startsHiddenWithItsDefaults();
  void picturesHaveTheirSizes_data();
  void picturesHaveTheirSizes();
  void showOperationsKeepTheWindowHidden();
  void captionsFollowModeZoomAlphaAndLine();

  void zoomKeysResizeAndClamp();
  void alphaKeysClamp();
  void spaceAndMiddleButtonToggleHalftone();
  void repaintOnlyChangesDoNotRebuild();
  void digitsSwitchThePaletteLine();
  void currentDigitRedrawsNothing();
  void digitsOutsidePatternsAreSwallowed();
  void otherKeysArePassedOn();
  void escapeClosesAndKeepsTheMode();

  void ctrlWheelZoomsAndClamps();
  void wheelWrapsThePaletteLine();
  void wheelReadsCtrlAtThatMoment();
  void plainWheelOutsidePatternsDoesNothing();

  void userResizeSnapsToAZoom();
  void hiddenResizeIsNotSnapped();

  void patternsReadOnlyTheGivenBytes();
  void reopenedPatternsKeepThePaletteLine();
  void spritesShowTheBackdropBehind();

  void savesTheZoomedPictureAsBmp();
  void savesPngForAPngName();
  void saveDialogOffersPngAfterTheBitmapEntries();
  void cancelledSaveWritesNothing();
  void failedSaveReportsTheError();
  void copyPutsTheUnscaledPicture();
  void shortcutsReachTheMenuItems();
  void rightClickOpensTheMenu();

 private:
  void press(const QString& text, int key = 0);
  void wheel(int delta, Qt::KeyboardModifiers eventModifiers = Qt::NoModifier);
  void showAndWait();

  std::unique_ptr<TMegaDriveVDP> m_vdp;
  std::unique_ptr<TfrmView> m_view;
  Qt::KeyboardModifiers m_heldModifiers;
  test::TScriptedDialogs m_dialogs;
  TFileDialog m_sdlgBmp;
  std::unique_ptr<QTemporaryDir> m_dir;
};

}  // namespace vantor
