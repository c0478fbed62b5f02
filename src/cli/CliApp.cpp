#include "cli/CliApp.h"

#include <algorithm>
#include <vector>

#include "cli/Commands.h"
#include "document/Errors.h"

namespace vantor {
namespace {

constexpr std::string_view kProgram = "vantor-cli";

constexpr TOptionSpec kJsonOptions[] = {{"--json", false}};
constexpr TOptionSpec kRenderOptions[] = {
    {"--layers", true},          {"--layers-dir", true},      {"--no-backdrop", false},
    {"--ignore-hscroll", false}, {"--ignore-vscroll", false}, {"--ignore-shadow", false},
    {"--virtual", false},        {"--all-sprites", false},    {"--sprite-limits", false}};
constexpr TOptionSpec kInspectOptions[] = {
    {"--json", false},           {"--layers", true},          {"--no-backdrop", false},
    {"--ignore-hscroll", false}, {"--ignore-vscroll", false}, {"--ignore-shadow", false},
    {"--virtual", false},        {"--all-sprites", false},    {"--sprite-limits", false}};
constexpr TOptionSpec kVRAMMapOptions[] = {{"--json", false}, {"--png", true}};
constexpr TOptionSpec kPatternOptions[] = {
    {"--line", true}, {"--source", true}, {"--transparent", false}};
constexpr TOptionSpec kPatternImportOptions[] = {
    {"--first", true}, {"--line", true}, {"--source", true}, {"-o", true}};
constexpr TOptionSpec kSpriteOptions[] = {{"--transparent", false}};
constexpr TOptionSpec kExportOptions[] = {{"--first", true}, {"--count", true}, {"--format", true}};
constexpr TOptionSpec kImportOptions[] = {{"--first", true}, {"--format", true}, {"-o", true}};
constexpr TOptionSpec kOutputOptions[] = {{"-o", true}};

struct TCommand {
  std::string_view Name;
  std::string_view Usage;
  std::string_view Help;
  std::span<const TOptionSpec> Options;
  std::size_t MinArguments;
  std::size_t MaxArguments;
  int (*Run)(TCliContext&);
};

constexpr TCommand kCommands[] = {
    {"info", "info STATE [--json]",
     "Shows whether the savestate matches the layout's file identifiers, the image size, the\n"
     "VSRAM byte order and why it was chosen, and the VDP set-up: display size, H40/V30,\n"
     "interlace mode, cell size, plane size, the five table addresses (as the VDP uses them),\n"
     "scroll modes, background colour, the number of sprites in the link chain and the\n"
     "sprite limits. --json writes the same as a JSON object.\n",
     kJsonOptions, 1, 1, RunInfo},
    {"render",
     "render STATE OUT.{bmp,png} [--layers LIST] [--no-backdrop] [--ignore-hscroll]\n"
     "       [--ignore-vscroll] [--ignore-shadow] [--virtual] [--all-sprites | --sprite-limits]\n"
     "   or: render STATE --layers-dir DIR [same options]",
     "Writes the composed screen exactly as the Screen page renders it: an 8-bit indexed BMP\n"
     "with the 256-entry colour table, or the same picture as an indexed PNG.\n"
     "  --layers LIST     the layer halves to draw, separated by commas, from a-lo, a-hi,\n"
     "                    b-lo, b-hi, win-lo, win-hi, spr-lo, spr-hi (default: all eight)\n"
     "  --no-backdrop     no backdrop colour; in PNG such pixels are transparent\n"
     "  --ignore-hscroll  ignore horizontal scrolling\n"
     "  --ignore-vscroll  ignore vertical scrolling\n"
     "  --ignore-shadow   ignore shadow/highlight\n"
     "  --virtual         the entire virtual screen (whole plane and all sprite positions)\n"
     "  --all-sprites     every chained sprite, without the console's limits per line (20\n"
     "                    sprites and 40 cells in H40, 16 and 32 in H32) and without masking\n"
     "                    by sprites at X 0; the entire virtual screen draws them all anyway\n"
     "  --sprite-limits   the console's limits and masking also on the entire virtual screen\n"
     "  --layers-dir DIR  one transparent PNG per layer half (a-lo.png ... spr-hi.png), each\n"
     "                    that layer alone without backdrop; with --layers only those\n",
     kRenderOptions, 1, 2, RunRender},
    {"inspect",
     "inspect STATE X Y [--virtual] [--all-sprites | --sprite-limits] [--json]\n"
     "       [--layers LIST] [--no-backdrop] [--ignore-hscroll] [--ignore-vscroll]\n"
     "       [--ignore-shadow]",
     "Tells how the screen composed pixel X, Y of the picture 'render' writes with the same\n"
     "options (0, 0 is its top-left): for plane B, plane A and the window the cell, the scroll\n"
     "values, the name table entry's address and word, the pattern, palette line, priority and\n"
     "flips, and the byte and nibble of the pattern pixel; for the sprites the sprite shown\n"
     "(its number, its position in the link chain, its entry), every sprite covering the pixel\n"
     "with what the console does with it on this line (drawn, cut at the cell limit, dropped\n"
     "by the sprite or cell limit, masked), and the line's sprites and cells; the\n"
     "shadow/highlight marks; the priority case and which layer won and why; the pixel code,\n"
     "its CRAM entry and colour. --json writes the same as a JSON object. A pixel outside the\n"
     "picture is refused (exit status 1). The options are those of render.\n",
     kInspectOptions, 3, 3, RunInspect},
    {"vram-map", "vram-map STATE [--json] [--png OUT]",
     "Lists what the display uses Video RAM for, in blocks of 32 bytes: the plane A, plane B\n"
     "and window name tables, the sprite table and the horizontal scroll table (also as the\n"
     "exact bytes the display reads: the window's cells on the screen, the scroll entries of\n"
     "the scroll mode), the patterns the planes and the chained sprites show, and what nothing\n"
     "points at. A block holding a table and patterns in use, or two tables, is an overlap.\n"
     "Then the patterns in use and who shows them. --json writes the same as a JSON object.\n"
     "  --png OUT         also writes the map as a 512 x 256 picture laid out as the pattern\n"
     "                    sheet of 'patterns' (each block an 8 x 8 square at its pattern's\n"
     "                    place), coloured by use: dark free, blue plane A table, teal plane B\n"
     "                    table, violet window table, orange sprite table, pink H scroll table,\n"
     "                    green plane patterns, yellow sprite patterns, white patterns of both,\n"
     "                    red overlaps (a name ending in .bmp writes BMP)\n",
     kVRAMMapOptions, 1, 1, RunVRAMMap},
    {"patterns", "patterns STATE OUT [--line 0-3] [--source vram|main] [--transparent]",
     "Writes the 512 x 256 sheet of all patterns (64 to a row) that the Patterns & Sprites\n"
     "page saves: 4 bits per pixel in BMP, indexed in PNG, coloured by a palette line.\n"
     "  --line N          palette line 0-3 (default 0)\n"
     "  --source vram|main  read the patterns from video RAM (default) or main CPU RAM\n"
     "  --transparent     colour 0 transparent (PNG)\n",
     kPatternOptions, 2, 2, RunPatterns},
    {"patterns import",
     "patterns import STATE PICTURE --first N [--source vram|main] [--line 0-3] -o OUT",
     "Reads patterns from a picture (BMP or PNG) as the Patterns & Sprites page loads them, and\n"
     "writes the savestate to OUT. The picture is cut into cells of 8 x 8 pixels (8 x 16 in\n"
     "interlace mode 2), left to right and top to bottom; cell k becomes pattern N + k. A sheet\n"
     "written by 'patterns' comes back unchanged with --first 0.\n"
     "  --first N         the pattern the first cell becomes\n"
     "  --source vram|main  write into video RAM (default) or main CPU RAM\n"
     "  --line N          indexed pictures: each pixel value modulo 16 is the pattern pixel;\n"
     "                    other pictures: each colour must be exactly one colour of palette\n"
     "                    line N (default 0), and transparent pixels become 0\n"
     "A width that is not a multiple of 8, a height that is not a multiple of the cell height,\n"
     "more cells than there are patterns from N on, or a colour that is not in the line is\n"
     "refused with a message, and nothing is written. (A savestate named \"import\" is\n"
     "written ./import for the sheet command.)\n",
     kPatternImportOptions, 2, 2, RunPatternsImport},
    {"sprites", "sprites STATE OUT [--transparent]",
     "Writes the sheet of all sprites (16 to a row, each at the top-left of a cell as large as\n"
     "the largest sprite, 32 x 32 or 32 x 64 pixels, over the background colour) that the\n"
     "Patterns & Sprites page saves.\n"
     "  --transparent     the background transparent (PNG)\n",
     kSpriteOptions, 2, 2, RunSprites},
    {"palette export",
     "palette export STATE OUT.{pal,gpl,act} [--first N] [--count N] [--format F]",
     "Writes Colour RAM entries as a palette file, as the Colour RAM page saves them: JASC-PAL\n"
     "(16 colour lines for up to 16 entries, else 256, padded with black), a GIMP palette\n"
     "(the entries alone) or an Adobe colour table (256 colours with the number of entries).\n"
     "  --first N         first entry, 0-63 (default 0)\n"
     "  --count N         number of entries (default: all up to entry 63)\n"
     "  --format F        jasc, gimp or act; without it .gpl is GIMP, .act Adobe and every\n"
     "                    other name JASC-PAL\n",
     kExportOptions, 2, 2, RunPaletteExport},
    {"palette import", "palette import STATE IN.{pal,gpl,act} [--first N] [--format F] -o OUT",
     "Reads the colours of a palette file into Colour RAM from entry N on (default 0), as the\n"
     "Colour RAM page loads them, and writes the savestate to OUT. Each colour becomes the CRAM\n"
     "value of the top three bits of its red, green and blue; colours past entry 63 are not\n"
     "read. --format as for export.\n",
     kImportOptions, 2, 2, RunPaletteImport},
    {"map",
     "map STATE a|b|window OUT.{tmx,csv}",
     "Writes the name table of plane A, plane B or the window as a map. OUT.csv: one line per\n"
     "cell row, each cell's attribute word as a decimal number (bit 15 priority, 14-13 palette\n"
     "line, 12 vertical flip, 11 horizontal flip, 10-0 pattern). OUT.tmx: a Tiled map with its\n"
     "tileset picture OUT.png beside it. The picture shows all patterns once for each palette\n"
     "line (line 0 at the top, colour 0 transparent); the tileset \"low priority\" cuts it from\n"
     "tile id 1, the tileset \"high priority\" right after it, and flips are Tiled's flip flags.\n",
     {},
     3,
     3,
     RunMap},
    {"dump",
     "dump STATE BLOCK OUT.bin",
     "Writes the raw bytes of a memory block: main-ram, z80-ram, vram, cram or vsram (as the\n"
     "layout's entries place them).\n",
     {},
     3,
     3,
     RunDump},
    {"load", "load STATE BLOCK IN.bin -o OUT",
     "Replaces the bytes of a memory block with a file and writes the savestate to OUT. The\n"
     "block keeps its size: a shorter file leaves the rest zero, a longer one is cut.\n",
     kOutputOptions, 3, 3, RunLoad},
    {"get",
     "get STATE SECTION KEY\n"
     "   or: get STATE cram|vsram|hsram INDEX",
     "Prints a field as the register grids show it: name, hexadecimal, decimal and binary,\n"
     "separated by tabs. KEY is a layout key (Line001, RAM, or a sub-field key such as\n"
     "\"CRAM|$A|2\") or the name of a register line (Reg01); sections, keys and names match\n"
     "without regard to case. CRAM, VSRAM or HSRAM with an INDEX names one word of Colour RAM,\n"
     "Vertical Scroll RAM or the horizontal scroll table as their grids list them (HSRAM 3 is\n"
     "Horizontal Scroll RAM[3]); the table lies where VDP register 13 of the savestate puts it.\n",
     {},
     3,
     3,
     RunGet},
    {"set",
     "set STATE SECTION KEY VALUE -o OUT\n"
     "   or: set STATE cram|vsram|hsram INDEX VALUE -o OUT",
     "Writes a field and the savestate to OUT. VALUE is decimal, hexadecimal after \"$\",\n"
     "\"x\" or \"0x\" (either with a sign: -5, -$10), or binary after \"%\". It must fit the\n"
     "field, unsigned or in two's complement (one byte: -128 to 255, $00 to $FF); a value\n"
     "that does not is refused (exit status 1). SECTION and KEY as for get. Prints the\n"
     "field's new texts as get does.\n",
     kOutputOptions, 4, 4, RunSet},
    {"diff", "diff A B [--json]",
     "Lists what differs between two savestates: every register line (register, section,\n"
     "name, old and new value) and every memory block as runs of changed bytes (block, first\n"
     "and last offset inside the block, count); bytes outside every named field and block\n"
     "are listed as the block \"other\" with file offsets, and a size line is added when the\n"
     "sizes differ. Fields are separated by tabs; --json writes a JSON object.\n",
     kJsonOptions, 2, 2, RunDiff},
};

constexpr std::string_view kToolHelp =
    "Palavex on the command line: look into, render and patch Mega Drive / Genesis\n"
    "emulator savestates.\n"
    "\n"
    "Every command takes --layout FILE; without it the layout file of the desktop program\n"
    "(vantor.ini) is read, or the built-in layout (Genecyst-type savestates) when there is none.\n"
    "Savestates are written only to the file given by -o (which may be the input itself),\n"
    "replacing it only once completely written.\n"
    "\n"
    "Exit status: 0 done; 1 wrong command line or a value that does not fit its field; 2 wrong\n"
    "file type, a file (or standard output) that cannot be read or written, or a savestate\n"
    "shorter than its layout says; 3 the layout has no usable entry for the block or field\n"
    "asked for, or one larger than a savestate can hold.\n"
    "\n"
    "'vantor-cli COMMAND --help' describes a command.\n";

void printUsageList(std::ostream& out) {
  out << "usage: " << kProgram << " COMMAND ARGUMENTS [--layout FILE]\n\ncommands:\n";
  for (const TCommand& command : kCommands) {
    std::string_view usage = command.Usage;
    while (!usage.empty()) {
      const std::size_t end = usage.find('\n');
      out << "  " << usage.substr(0, end) << '\n';
      usage = end == std::string_view::npos ? std::string_view() : usage.substr(end + 1);
    }
  }
}

void printCommandHelp(std::ostream& out, const TCommand& command) {
  out << "usage: " << kProgram << ' ' << command.Usage << " [--layout FILE]\n\n" << command.Help;
}

const TCommand* findCommand(std::span<const std::string> args, std::size_t& nameWords) {
  nameWords = 1;
  std::string name = args[0];
  if (args.size() > 1 && (name == "palette" || (name == "patterns" && args[1] == "import"))) {
    name += ' ' + args[1];
    nameWords = 2;
  }
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [&](const TCommand& command) { return command.Name == name; });
  return it == std::end(kCommands) ? nullptr : &*it;
}

int usageError(std::ostream& err, const TCommand* command, const std::string& reason) {
  err << kProgram << ": " << reason << '\n';
  if (command) {
    err << "usage: " << kProgram << ' ' << command->Usage << '\n'
        << "Try '" << kProgram << ' ' << command->Name << " --help'.\n";
  } else {
    printUsageList(err);
    err << "Try '" << kProgram << " --help'.\n";
  }
  return kExitUsage;
}

// "palette" alone, with --help, or with a word other than export and import.
int paletteWithoutSubcommand(std::span<const std::string> args, std::ostream& out,
                             std::ostream& err) {
  const bool help = std::find(args.begin(), args.end(), "--help") != args.end();
  for (const TCommand& command : kCommands) {
    if (!command.Name.starts_with("palette ")) continue;
    if (help) {
      printCommandHelp(out, command);
      out << '\n';
    }
  }
  if (help) return kExitOk;
  err << kProgram << ": palette needs export or import\n"
      << "usage: " << kProgram
      << " palette export STATE OUT.{pal,gpl,act} [--first N] [--count N] [--format F]\n"
      << "       " << kProgram
      << " palette import STATE IN.{pal,gpl,act} [--first N] [--format F] -o OUT\n";
  return kExitUsage;
}

int runCommand(const TCommand& command, TCliContext& context) {
  try {
    return command.Run(context);
  } catch (const EUsageError& error) {
    return usageError(context.Err, &command, error.what());
  } catch (const EValueError& error) {
    context.Err << kProgram << ": " << error.what() << '\n';
    return kExitUsage;
  } catch (const ENoEntryError& error) {
    context.Err << error.what() << '\n';
    return kExitNoEntry;
  } catch (const EStreamError& error) {
    // The one savestate of the command (two-savestate commands name theirs themselves).
    context.Err << StreamErrorMessage(error, context.StatePath) << '\n';
    return kExitFile;
  } catch (const std::exception& error) {
    // EFileError and the other errors the user reads carry the exact message.
    context.Err << error.what() << '\n';
    return kExitFile;
  }
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const std::string& programPath) {
  if (args.empty()) return usageError(err, nullptr, "no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::size_t nameWords = 0;
    if (args.size() > 1) {
      if (const TCommand* command = findCommand(args.subspan(1), nameWords)) {
        printCommandHelp(out, *command);
        return kExitOk;
      }
    }
    printUsageList(out);
    out << '\n' << kToolHelp;
    return kExitOk;
  }

  std::size_t nameWords = 0;
  const TCommand* command = findCommand(args, nameWords);
  if (!command && args[0] == "palette") return paletteWithoutSubcommand(args, out, err);
  if (!command) return usageError(err, nullptr, "unknown command \"" + args[0] + "\"");
  const auto rest = args.subspan(nameWords);
  if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
    printCommandHelp(out, *command);
    return kExitOk;
  }

  std::vector<TOptionSpec> options(command->Options.begin(), command->Options.end());
  options.push_back(kLayoutOption);
  TCliContext context{TCommandLine::Parse(rest, options), out, err, programPath, {}, {}};
  if (!context.Args.Error().empty()) return usageError(err, command, context.Args.Error());
  const std::size_t count = context.Args.Positional().size();
  if (count < command->MinArguments) return usageError(err, command, "missing arguments");
  if (count > command->MaxArguments) return usageError(err, command, "too many arguments");
  return runCommand(*command, context);
}

}  // namespace vantor
