// inspect: how the screen composed one pixel, as the pixel inspector accounts for it.
#include <string>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/ScreenOptions.h"
#include "document/Numbers.h"
#include "vdp/PixelInspector.h"

namespace vantor {
namespace {

std::string hex(int64_t value, int digits) {
  return "$" + FormatHex(value, digits);
}

// An argument X or Y: an integer in the number syntax of the tool.
int32_t coordinate(const TCliContext& context, std::size_t index) {
  const std::string& text = Argument(context, index);
  const auto value = TryParseInt32(text);
  if (!value) throw EUsageError("\"" + text + "\" is no pixel coordinate");
  return *value;
}

// --- Text ------------------------------------------------------------------------------------

constexpr std::string_view kIndent = "             ";

// "label" padded to the indent.
std::string label(std::string_view text) {
  std::string padded(text);
  padded.resize(kIndent.size(), ' ');
  return padded;
}

std::string flipsText(const TPatternPixel& p) {
  if (p.HFlip && p.VFlip) return "H and V flip";
  if (p.HFlip) return "H flip";
  if (p.VFlip) return "V flip";
  return "no flip";
}

std::string patternText(const TPatternPixel& p) {
  return "pattern " + hex(p.Pattern, 3) + ", palette line " + std::to_string(p.PaletteLine) + ", " +
         (p.Priority ? "high" : "low") + " priority, " + flipsText(p);
}

std::string pixelText(const TPatternPixel& p) {
  return "pattern pixel " + std::to_string(p.PatternColumn) + "," + std::to_string(p.PatternRow) +
         " in byte " + hex(p.ByteAddress, 4) + " (" + (p.HighNibble ? "high" : "low") +
         " nibble): colour " + std::to_string(p.ColorIndex);
}

// A 10-bit scroll value, with its negative reading from 512 on: "987 (-37)".
std::string scrollText(int value) {
  std::string text = std::to_string(value);
  if (value >= 512) text += " (" + std::to_string(value - 1024) + ")";
  return text;
}

void printCell(std::ostream& out, std::string_view name, const TCellAccount& cell, bool plane) {
  out << label(name);
  if (!cell.InArea) {
    out << (plane ? "outside the plane rectangle\n" : "not here (outside its bands)\n");
    return;
  }
  out << "cell " << cell.Column << ',' << cell.Row << ", pixel " << cell.PixelColumn << ','
      << cell.PixelRow;
  if (plane) out << "; scroll H " << scrollText(cell.HScroll) << ", V " << scrollText(cell.VScroll);
  out << '\n'
      << kIndent << "name table entry " << hex(cell.NameAddress, 4) << " = "
      << hex(cell.Pixel.Attr, 4) << ": " << patternText(cell.Pixel) << '\n'
      << kIndent << pixelText(cell.Pixel) << '\n';
  if (!cell.TakesPart) {
    out << kIndent << "takes no part: its " << (cell.Pixel.Priority ? "high" : "low")
        << " half is switched off\n";
  }
}

std::string coverText(const TSpriteCover& cover) {
  std::string text = std::to_string(cover.Number) + " " + std::string(SpriteFateText(cover.Fate));
  const bool consoleDraws = cover.Fate == TSpriteFate::sfDrawn || cover.Fate == TSpriteFate::sfCut;
  if (cover.Drawn && !consoleDraws) text += " by the console, drawn here";
  if (!cover.Drawn && consoleDraws) text += ", not drawn here";
  return text + " (colour " + std::to_string(cover.ColorIndex) + ")";
}

void printSprite(std::ostream& out, const TSpriteAccount& s) {
  out << label("Sprite");
  if (s.Found) {
    const TSpriteEntry& e = s.Entry;
    out << "sprite " << s.Number << ", position " << s.Position << " in the link chain; entry "
        << hex(s.EntryAddress, 4) << ": X " << e.X << ", Y " << e.Y << ", " << e.CellsWide()
        << " x " << e.CellsHigh() << " cells, link " << int(e.Link) << '\n'
        << kIndent << "cell " << s.CellColumn << ',' << s.CellRow << ": " << patternText(s.Pixel)
        << '\n'
        << kIndent << pixelText(s.Pixel) << '\n';
  } else {
    out << (s.Covering.empty() ? "no sprite here\n" : "no sprite pixel here\n");
  }
  if (!s.Covering.empty()) {
    out << kIndent << "covering this pixel:";
    for (std::size_t i = 0; i < s.Covering.size(); ++i)
      out << (i ? "; " : " ") << coverText(s.Covering[i]);
    out << '\n';
  }
  const TSpriteLineFacts& line = s.Line;
  out << kIndent << "on this line the console draws " << line.Sprites << " of " << line.Covering
      << " sprites, " << line.Cells << " cells";
  if (line.Drop != TSpriteDrop::sdNone) {
    out << "; missing from sprite " << line.FirstMissing << " on (" << SpriteDropName(line.Drop)
        << ")";
  }
  out << (s.Limits ? "" : "; this picture draws every sprite") << '\n';
}

void printMarks(std::ostream& out, const TMarkAccount& m) {
  out << label("Shadow/HL");
  if (!m.Active) {
    out << "off\n";
    return;
  }
  std::string facts;
  auto add = [&](bool on, std::string_view text) {
    if (on) facts += (facts.empty() ? "" : "; ") + std::string(text);
  };
  add(m.NoHighPlane, "no plane of high priority: the shadow mark");
  add(m.HighlightSprite, "the sprite pixel is the highlight operator");
  add(m.ShadowSprite, "the sprite pixel is the shadow operator");
  add(m.Cancelled, "shadow and highlight cancel");
  add(m.Colour14, "a sprite's colour 14 shows unmarked");
  out << "on" << (facts.empty() ? "" : ": " + facts) << '\n';
}

std::string_view marksText(uint8_t marks) {
  return marks == 0x40 ? "highlight" : marks == 0x80 ? "shadow" : "normal";
}

std::string rgbText(uint32_t rgb) {
  return "#" + FormatHex(rgb & 0xFFFFFF, 6);
}

void printText(std::ostream& out, const TPixelAccount& a, const TScreenGeometry& g) {
  out << "Pixel " << a.X << ',' << a.Y << " of the "
      << ((a.Options & kRenderVirtualScreen) ? "entire virtual screen" : "screen") << " ("
      << g.Width << " x " << g.Height << "), options " << hex(a.Options, 4) << "; sprite space "
      << a.SpriteX << ',' << a.SpriteY << '\n';
  printCell(out, "Plane B", a.PlaneB, true);
  printCell(out, "Plane A", a.PlaneA, true);
  printCell(out, "Window", a.Window, false);
  printSprite(out, a.Sprite);
  printMarks(out, a.Marks);
  out << label("Selection") << "case " << a.Case << ": sprite "
      << (a.SpritePriority ? "high" : "low") << ", " << (a.Window.TakesPart ? "window" : "plane A")
      << ' ' << (a.APriority ? "high" : "low") << ", plane B " << (a.BPriority ? "high" : "low")
      << '\n'
      << label("Winner") << WinnerText(a) << '\n'
      << label("Result") << "code " << hex(a.Code, 2) << ": CRAM " << hex(a.CramIndex, 2) << " = "
      << hex(a.ColorWord, 4) << ", " << marksText(a.Marks.Marks) << ", " << rgbText(a.Rgb)
      << (a.Written ? "" : " (not written: the backdrop is off)") << '\n';
}

// --- JSON ------------------------------------------------------------------------------------

void jsonPattern(TJsonWriter& json, const TPatternPixel& p) {
  json.Number("attr", p.Attr);
  json.Number("pattern", p.Pattern);
  json.Number("paletteLine", p.PaletteLine);
  json.Bool("priority", p.Priority);
  json.Bool("hflip", p.HFlip);
  json.Bool("vflip", p.VFlip);
  json.Number("patternColumn", p.PatternColumn);
  json.Number("patternRow", p.PatternRow);
  json.Number("byteAddress", p.ByteAddress);
  json.Bool("highNibble", p.HighNibble);
  json.Number("colorIndex", p.ColorIndex);
}

void jsonCell(TJsonWriter& json, std::string_view key, const TCellAccount& cell, bool plane) {
  json.BeginObject(key);
  json.Bool("inArea", cell.InArea);
  if (cell.InArea) {
    json.Bool("takesPart", cell.TakesPart);
    json.Number("column", cell.Column);
    json.Number("row", cell.Row);
    json.Number("pixelColumn", cell.PixelColumn);
    json.Number("pixelRow", cell.PixelRow);
    if (plane) {
      json.Number("hscroll", cell.HScroll);
      json.Number("vscroll", cell.VScroll);
    }
    json.Number("nameAddress", cell.NameAddress);
    jsonPattern(json, cell.Pixel);
  }
  json.End();
}

void jsonLine(TJsonWriter& json, const TSpriteLineFacts& line) {
  json.BeginObject("line");
  json.Number("covering", line.Covering);
  json.Number("sprites", line.Sprites);
  json.Number("cells", line.Cells);
  json.Number("dropped", line.Dropped);
  json.Bool("cut", line.Cut);
  json.String("drop", SpriteDropName(line.Drop));
  json.Number("firstMissing", line.FirstMissing);
  json.End();
}

void jsonSprite(TJsonWriter& json, const TSpriteAccount& s) {
  json.BeginObject("sprite");
  json.Bool("limits", s.Limits);
  json.Bool("found", s.Found);
  if (s.Found) {
    json.Number("number", s.Number);
    json.Number("position", s.Position);
    json.Number("entryAddress", s.EntryAddress);
    json.Number("x", s.Entry.X);
    json.Number("y", s.Entry.Y);
    json.Number("size", s.Entry.Size);
    json.Number("link", s.Entry.Link);
    json.Number("cellColumn", s.CellColumn);
    json.Number("cellRow", s.CellRow);
    jsonPattern(json, s.Pixel);
  }
  json.BeginArray("covering");
  for (const TSpriteCover& cover : s.Covering) {
    json.BeginObject();
    json.Number("number", cover.Number);
    json.Number("position", cover.Position);
    json.String("fate", SpriteFateName(cover.Fate));
    json.Bool("priority", cover.High);
    json.Bool("drawn", cover.Drawn);
    json.Number("colorIndex", cover.ColorIndex);
    json.End();
  }
  json.End();
  jsonLine(json, s.Line);
  json.End();
}

void jsonMarks(TJsonWriter& json, const TMarkAccount& m) {
  json.BeginObject("shadowHighlight");
  json.Bool("active", m.Active);
  json.Bool("noHighPlane", m.NoHighPlane);
  json.Bool("highlightSprite", m.HighlightSprite);
  json.Bool("shadowSprite", m.ShadowSprite);
  json.Bool("cancelled", m.Cancelled);
  json.Bool("colour14", m.Colour14);
  json.String("marks", marksText(m.Marks));
  json.End();
}

void printJson(std::ostream& out, const TPixelAccount& a, const TScreenGeometry& g) {
  TJsonWriter json(out);
  json.BeginObject();
  json.Number("x", a.X);
  json.Number("y", a.Y);
  json.Number("options", a.Options);
  json.BeginObject("picture");
  json.Number("width", g.Width);
  json.Number("height", g.Height);
  json.Bool("virtual", (a.Options & kRenderVirtualScreen) != 0);
  json.End();
  json.BeginObject("spriteSpace");
  json.Number("x", a.SpriteX);
  json.Number("y", a.SpriteY);
  json.End();
  jsonCell(json, "planeB", a.PlaneB, true);
  jsonCell(json, "planeA", a.PlaneA, true);
  jsonCell(json, "window", a.Window, false);
  jsonSprite(json, a.Sprite);
  jsonMarks(json, a.Marks);
  json.Number("case", a.Case);
  json.String("winner", PixelLayerName(a.Winner));
  json.BeginArray("beaten");
  for (TPixelLayer layer : a.Beaten)
    json.String({}, PixelLayerName(layer));
  json.End();
  json.String("reason", WinnerText(a));
  json.Number("code", a.Code);
  json.Bool("written", a.Written);
  json.Number("cram", a.CramIndex);
  json.Number("color", a.ColorWord);
  json.String("rgb", rgbText(a.Rgb));
  json.End();
}

}  // namespace

int RunInspect(TCliContext& context) {
  const int32_t x = coordinate(context, 1), y = coordinate(context, 2);
  const uint16_t options = PictureOptions(context);
  TStateWithModel loaded = LoadWithModel(context);
  const TPixelInspector inspector(*loaded.VDP, options);
  const TScreenGeometry& g = inspector.Geometry();
  const TPixelAccount account = inspector.Inspect(x, y);
  if (!account.Inside) {
    throw EValueError("pixel " + std::to_string(x) + "," + std::to_string(y) +
                      " lies outside the picture (" + std::to_string(g.Width) + " x " +
                      std::to_string(g.Height) + ")");
  }
  if (context.Args.Has("--json")) {
    printJson(context.Out, account, g);
  } else {
    printText(context.Out, account, g);
  }
  return kExitOk;
}

}  // namespace vantor
