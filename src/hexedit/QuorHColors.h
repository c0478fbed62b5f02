#pragma once

#include <QColor>
#include <QPalette>

namespace vantor {

// The editor's colour set. The defaults take the desktop's window and button colours where
// the component names system colours.
struct TQuorHColors {
  QColor Offset;
  QColor OddColumn;
  QColor EvenColumn;
  QColor CursorFrame;
  QColor NonFocusCursorFrame;
  QColor Background;
  QColor ChangedText;
  QColor ChangedBackground;
  QColor CurrentOffsetBackground;
  QColor OffsetBackGround;
  QColor CurrentOffset;
  QColor Grid;

  static TQuorHColors Defaults(const QPalette& palette) {
    TQuorHColors colors;
    colors.Offset = QColor(0, 0, 0);
    colors.OddColumn = QColor(0, 0, 255);
    colors.EvenColumn = QColor(0, 0, 128);
    colors.CursorFrame = QColor(0, 0, 128);
    colors.NonFocusCursorFrame = QColor(0, 255, 255);
    colors.Background = palette.color(QPalette::Active, QPalette::Base);
    colors.ChangedText = QColor(128, 0, 0);
    colors.ChangedBackground = QColor(255, 255, 168);  // $A8FFFF as 0x00BBGGRR
    colors.CurrentOffsetBackground = palette.color(QPalette::Active, QPalette::Dark);
    colors.OffsetBackGround = palette.color(QPalette::Active, QPalette::Button);
    colors.CurrentOffset = palette.color(QPalette::Active, QPalette::Light);
    colors.Grid = palette.color(QPalette::Active, QPalette::Button);
    return colors;
  }

  bool operator==(const TQuorHColors&) const = default;
};

}  // namespace vantor
