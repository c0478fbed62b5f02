#include "document/SavestateDocument.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

#include "SaveFailures.h"
#include "TempDir.h"
#include "document/DefaultLayout.h"
#include "document/Errors.h"

namespace vantor {
namespace {

using testing::kSaveFailures;
using testing::ReadBytes;
using testing::TempDir;
using testing::TSaveFailure;
using testing::TSaveFailureScope;
using testing::WriteBytes;

TLayout defaultLayout() {
  return TLayout(LayoutIni::FromText(DefaultLayoutText()));
}

TLayout layoutWith(const std::string& general) {
  return TLayout(LayoutIni::FromText("[General]\n" + general));
}

std::vector<uint8_t> genecyst(std::size_t size = 140408) {
  std::vector<uint8_t> bytes(size, 0);
  bytes[0] = 'G';
  bytes[1] = 'S';
  bytes[2] = 'T';
  return bytes;
}

struct Reports {
  std::vector<std::string> messages;
  TMessageSink sink() {
    return [this](const std::string& m) { messages.push_back(m); };
  }
};

TEST(FileIdentifiers, TextAndNumbersAreMatchedAsTheLayoutSays) {
  const TLayout layout = layoutWith(
      "FileIdentifier07=1234|$10|4\n"     // four characters
      "FileIdentifier08=123|$20|4\n"      // the number 123 as four bytes
      "FileIdentifier09=0|$30|1\n"        // the character "0"
      "FileIdentifier10=$0000E040|3|4\n"  // number with leading zeros, little-endian
      "FileIdentifier11=junk\n");         // not usable: skipped silently
  std::vector<uint8_t> bytes(0x40, 0);
  std::memcpy(&bytes[0x10], "1234", 4);
  bytes[0x20] = 0x7B;
  bytes[0x30] = '0';
  bytes[3] = 0x40;
  bytes[4] = 0xE0;
  Reports reports;
  SavestateImage image(bytes);
  EXPECT_TRUE(MatchFileIdentifiers(layout, image, reports.sink()));
  EXPECT_TRUE(reports.messages.empty());

  image.Data()[0x30] = 0;  // a zero byte is not the character "0"
  EXPECT_FALSE(MatchFileIdentifiers(layout, image, reports.sink()));
}

TEST(FileIdentifiers, MalformedOnesAreReportedEveryTimeAndIgnored) {
  const TLayout layout = layoutWith(
      "FileIdentifier05=ABCDE|$0|8\n"
      "FileIdentifier06=300|$0|5\n"
      "FileIdentifier99=GST|0|3\n");
  SavestateImage image(genecyst(16));
  Reports reports;
  EXPECT_TRUE(MatchFileIdentifiers(layout, image, reports.sink()));
  EXPECT_TRUE(MatchFileIdentifiers(layout, image, reports.sink()));
  ASSERT_EQ(reports.messages.size(), 4u);
  EXPECT_EQ(reports.messages[0],
            "Error in INI File: Section \"General\", Key \"FileIdentifier05\".");
  EXPECT_EQ(reports.messages[1],
            "Error in INI File: Section \"General\", Key \"FileIdentifier06\".");
}

TEST(FileIdentifiers, ShortSourcesNeverMatchAndNoIdentifiersAcceptEverything) {
  const TLayout layout = defaultLayout();
  SavestateImage tenBytes(genecyst(10));
  EXPECT_FALSE(MatchFileIdentifiers(layout, tenBytes, nullptr));
  SavestateImage anything(std::vector<uint8_t>{1, 2, 3});
  EXPECT_TRUE(MatchFileIdentifiers(layoutWith(""), anything, nullptr));
}

// FileIdentifier00 to FileIdentifier99 in any letter case and in any [General] section, the
// first of a doubled key counting, taken in number order.
TEST(FileIdentifiers, OnlyTwoDigitKeysCountTheFirstOfEachInNumberOrder) {
  const TLayout layout = layoutWith(
      "FileIdentifier10=C|0|1\n"
      "fileidentifier03=GST|0|3\n"
      "FILEIDENTIFIER03=XYZ|0|3\n"  // the second of the key: not used
      "FileIdentifier4=XYZ|0|3\n"   // not an identifier's name
      "FileIdentifier100=XYZ|0|3\n"
      "FileIdentifier02=AB|0|2\n"
      "[general]\n"
      "FileIdentifier03=XYZ|0|3\n"
      "FileIdentifier12=Q|1|1\n");
  SavestateImage stamped(std::vector<uint8_t>(4, 0));
  StampFileIdentifiers(layout, stamped, nullptr);
  // 02 "AB", then 03 "GST" over it, 10 "C" over the G, 12 "Q" over the S; nothing else.
  EXPECT_EQ(std::string(stamped.Bytes().begin(), stamped.Bytes().end()), std::string("CQT\0", 4));
}

TEST(FileIdentifiers, StampingUsesTheImagePositionAsBase) {
  const TLayout layout = layoutWith("FileIdentifier00=GST|$00000|3\nFileIdentifier01=$0102|$5|2\n");
  SavestateImage image;
  image.Seek(4);
  StampFileIdentifiers(layout, image, nullptr);
  ASSERT_EQ(image.Size(), 11u);  // grown to hold the identifier at 4 + 5
  EXPECT_EQ(image.Data()[4], 'G');
  EXPECT_EQ(image.Data()[9], 0x02);
  EXPECT_EQ(image.Data()[10], 0x01);
  image.Seek(4);
  EXPECT_TRUE(MatchFileIdentifiers(layout, image, nullptr));
}

TEST(SavestateDocument, BlankDocumentCarriesTheIdentifiers) {
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  EXPECT_EQ(document.Image().Bytes(), genecyst());
  EXPECT_FALSE(document.Modified());
  EXPECT_EQ(document.Caption(), "Palavex - ");
  document.SetFileName("C:\\st\\a.gs0");
  EXPECT_EQ(document.Caption(), "Palavex - C:\\st\\a.gs0");
  document.SetModified(true);
  EXPECT_EQ(document.Caption(), "Palavex - C:\\st\\a.gs0*");
}

TEST(SavestateDocument, TheBlankDocumentIsNeverLargerThanASavestate) {
  TLayout layout = layoutWith("DefaultFileSize=$7FFFFFFF\nFileIdentifier00=GST|$00000|3\n");
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  EXPECT_EQ(document.Image().Size(), 1048576u);
  EXPECT_EQ(document.Image().Data()[2], 'T');
}

// From a file or from bytes already in memory alike.
TEST(SavestateDocument, LoadTakesAtMostOneMebibyteAndAWrongTypeChangesNothing) {
  for (const bool fromMemory : {false, true}) {
    SCOPED_TRACE(fromMemory ? "bytes in memory" : "file");
    TempDir dir;
    TLayout layout = defaultLayout();
    TSavestateDocument document(layout);
    document.NewBlank(nullptr);
    auto load = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
      if (fromMemory) return document.LoadBytes(bytes, nullptr).Status;
      WriteBytes(dir.File(name), bytes);
      return document.Load(dir.File(name), nullptr).Status;
    };

    std::vector<uint8_t> wrong = genecyst();
    wrong[2] = 'X';
    const auto before = document.Image().Bytes();
    EXPECT_EQ(load("wrong.gs0", wrong), TSavestateDocument::TLoadStatus::lsWrongFileType);
    EXPECT_EQ(load("short.gs0", {'G', 'S'}), TSavestateDocument::TLoadStatus::lsWrongFileType);
    EXPECT_EQ(document.Image().Bytes(), before);

    std::vector<uint8_t> big = genecyst(2 * 1048576);
    big[1048575] = 0xAB;
    big[1048576] = 0xCD;
    EXPECT_EQ(load("big.gs0", big), TSavestateDocument::TLoadStatus::lsLoaded);
    EXPECT_EQ(document.Image().Size(), 1048576u);
    EXPECT_EQ(document.Image().Data()[1048575], 0xAB);
    document.WriteTo(dir.File("saved.gs0"));
    EXPECT_EQ(ReadBytes(dir.File("saved.gs0")).size(), 1048576u);
  }
}

TEST(SavestateDocument, UnreadableFilesReportTheFileMessage) {
  TempDir dir;
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  try {
    document.Load(dir.File("missing.gs0"), nullptr);
    FAIL() << "no error";
  } catch (const EFileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot open file \"" + dir.File("missing.gs0") + "\". No such file or directory.");
  }
  EXPECT_THROW(document.Load(dir.Path().string(), nullptr), EFileError);
}

TEST(SavestateDocument, AFailedSaveLeavesTheOldFileIntact) {
  TempDir dir;
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  document.SetModified(true);
  for (TSaveFailure failure : kSaveFailures) {
    SCOPED_TRACE(Describe(failure));
    TSaveFailureScope scope(failure, dir.Path(), "keep.gs0");
    if (!scope.Armed()) continue;
    try {
      document.WriteTo(scope.Target());
      ADD_FAILURE() << "the save succeeded";
    } catch (const EFileError& error) {
      EXPECT_EQ(
          std::string(error.what()).rfind("Cannot create file \"" + scope.Target() + "\".", 0), 0u)
          << error.what();
    }
    EXPECT_TRUE(scope.Intact());
    EXPECT_TRUE(document.Modified());
    // Once the cause is gone the same save works.
    scope.Disarm();
    if (failure == TSaveFailure::ReadOnlyFolder || failure == TSaveFailure::DiskFull) {
      document.WriteTo(scope.Target());
      EXPECT_EQ(ReadBytes(scope.Target()), genecyst());
    }
  }
}

TEST(SavestateDocument, ASaveReplacesTheFileThroughALinkAndKeepsItsPermissionsAndOwner) {
  TempDir dir;
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  const std::string target = dir.File("real.gs0");
  WriteBytes(target, {1, 2, 3});
  ::chmod(target.c_str(), 0640);
  std::filesystem::create_symlink(target, dir.File("link.gs0"));
  document.WriteTo(dir.File("link.gs0"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.gs0")));
  EXPECT_EQ(ReadBytes(target), genecyst());
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  // The superuser saving another user's savestate leaves it that user's.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    document.WriteTo(target);
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
  }
}

// A device or a named pipe given as the target (to pipe a dump into another program) is
// written into, never replaced by a regular file.
TEST(SavestateDocument, ASaveToANamedPipeWritesIntoIt) {
  TempDir dir;
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Held open for writing until the save is over, so that the reader ends even when the save
  // wrongly went elsewhere.
  const int keepOpen = ::open(pipe.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(keepOpen, 0);
  std::vector<uint8_t> received;
  std::thread reader([&] {
    std::ifstream in(pipe, std::ios::binary);
    received.assign(std::istreambuf_iterator<char>(in), {});
  });
  EXPECT_NO_THROW(document.WriteTo(pipe));
  ::close(keepOpen);
  reader.join();
  EXPECT_EQ(received, genecyst());
  struct stat info {};
  ASSERT_EQ(::stat(pipe.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// A savestate piped in (a named pipe, or a shell's <(...)) is read as a stream; a pipe nobody
// writes to reads as empty at once.
TEST(SavestateDocument, ASavestateIsReadFromANamedPipe) {
  TempDir dir;
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  const std::string pipe = dir.File("pipe.gs0");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(document.Load(pipe, nullptr).Status, TSavestateDocument::TLoadStatus::lsWrongFileType);
  EXPECT_EQ(document.Image().Bytes(), genecyst());

  // With a program writing into it, the pipe's content is the savestate.
  std::vector<uint8_t> state = genecyst();
  state[0x200] = 0x5A;
  // The writer is connected before the load opens the pipe, as a shell's <(...) is.
  const int probe = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(probe, 0);
  std::promise<void> connected;
  std::thread writer([&] {
    std::ofstream out(pipe, std::ios::binary);
    connected.set_value();
    out.write(reinterpret_cast<const char*>(state.data()), std::streamsize(state.size()));
  });
  connected.get_future().wait();
  EXPECT_EQ(document.Load(pipe, nullptr).Status, TSavestateDocument::TLoadStatus::lsLoaded);
  writer.join();
  ::close(probe);
  EXPECT_EQ(document.Image().Bytes(), state);
}

TEST(VSRAMDetection, HeaderWithByte80Of5MeansLittleEndian) {
  TLayout layout = defaultLayout();
  std::vector<uint8_t> bytes(140408, 0);
  const uint8_t header[8] = {0x47, 0x53, 0x54, 0x40, 0xE0, 0, 0, 0};
  std::memcpy(bytes.data(), header, 8);
  bytes[80] = 5;
  bytes[0x192] = 0x01;  // 0x0123: content that reads better big-endian does not overrule it
  bytes[0x193] = 0x23;
  TVSRAMReason reason = TVSRAMReason::vrOff;
  EXPECT_EQ(AutoDetectVSRAMEndian(layout, SavestateImage(bytes), &reason), 1);
  EXPECT_EQ(reason, TVSRAMReason::vrHeader);
  EXPECT_EQ(layout.Ini().ReadString("VDP", "VSRAM", ""), "Vertical Scroll RAM|$192|80|%101");
  EXPECT_EQ(VSRAMStatusText(1, reason), "AutoDetect: VSRAM is little endian (byte 80 is 5)");
  bytes[80] = 6;
  EXPECT_EQ(AutoDetectVSRAMEndian(layout, SavestateImage(bytes), &reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrContent);
  EXPECT_EQ(layout.Ini().ReadString("VDP", "VSRAM", ""), "Vertical Scroll RAM|$192|80|%111");
  bytes.resize(80);
  bytes[79] = 5;
  EXPECT_EQ(AutoDetectVSRAMEndian(layout, SavestateImage(bytes), &reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrNoContent);
  EXPECT_EQ(VSRAMStatusText(2, reason), "AutoDetect: VSRAM is big endian (no VSRAM to judge by)");
}

// VSRAM words use their low 10 bits (11 in interlace mode 2): the byte order under which
// fewer words have higher bits set wins; a tie keeps big endian.
TEST(VSRAMDetection, ContentDecidesWhenTheHeaderDoesNotSay) {
  constexpr std::size_t kVSRAM = 0x192, kRegister12 = 0xFA + 12;
  auto detect = [](std::vector<uint8_t> words, uint8_t register12, TVSRAMReason& reason) {
    TLayout layout = defaultLayout();
    std::vector<uint8_t> bytes = genecyst();
    std::copy(words.begin(), words.end(), bytes.begin() + kVSRAM);
    bytes[kRegister12] = register12;
    const int result = AutoDetectVSRAMEndian(layout, SavestateImage(bytes), &reason);
    const std::string flags = result == 1 ? "%101" : "%111";
    EXPECT_EQ(layout.Ini().ReadString("VDP", "VSRAM", ""), "Vertical Scroll RAM|$192|80|" + flags);
    return result;
  };
  TVSRAMReason reason = TVSRAMReason::vrOff;
  // 0x0123 and 0x002D stored least significant byte first: little endian.
  EXPECT_EQ(detect({0x23, 0x01, 0x2D, 0x00}, 0, reason), 1);
  EXPECT_EQ(reason, TVSRAMReason::vrContent);
  EXPECT_EQ(VSRAMStatusText(1, reason), "AutoDetect: VSRAM is little endian (by content)");
  // The same words most significant byte first: big endian.
  EXPECT_EQ(detect({0x01, 0x23, 0x00, 0x2D}, 0, reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrContent);
  // All zero, or words that read alike either way: big endian, as before.
  EXPECT_EQ(detect({}, 0, reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrUndecided);
  EXPECT_EQ(VSRAMStatusText(2, reason),
            "AutoDetect: VSRAM is big endian (content fits both orders)");
  EXPECT_EQ(detect({0x01, 0x01, 0x02, 0x02}, 0, reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrUndecided);
  // 0x05FF needs 11 bits: too many without interlace (a tie with 0xFF05), enough in
  // interlace mode 2 (register 12 = 0x06), where only the little-endian reading fits.
  EXPECT_EQ(detect({0xFF, 0x05}, 0, reason), 2);
  EXPECT_EQ(reason, TVSRAMReason::vrUndecided);
  EXPECT_EQ(detect({0xFF, 0x05}, 0x06, reason), 1);
  EXPECT_EQ(reason, TVSRAMReason::vrContent);
}

TEST(VSRAMDetection, OffLeavesTheEntryAlone) {
  std::string text(DefaultLayoutText());
  text.replace(text.find("AutoDetectVRAMEndian=1"), 22, "AutoDetectVRAMEndian=0");
  TLayout layout(LayoutIni::FromText(text));
  std::vector<uint8_t> bytes = genecyst();
  bytes[0x192] = 0x23;  // content that would say little endian
  bytes[0x193] = 0x01;
  TVSRAMReason reason = TVSRAMReason::vrContent;
  EXPECT_EQ(AutoDetectVSRAMEndian(layout, SavestateImage(bytes), &reason), 0);
  EXPECT_EQ(reason, TVSRAMReason::vrOff);
  EXPECT_EQ(layout.Ini().ReadString("VDP", "VSRAM", ""), "Vertical Scroll RAM|$00192|80");
  EXPECT_EQ(VSRAMStatusText(0, reason), "");
}

TEST(SavestateDocument, PatternSourceFollowsTheChosenBlock) {
  TLayout layout = defaultLayout();
  TSavestateDocument document(layout);
  document.NewBlank(nullptr);
  const auto vram = document.PatternSourceData(TPatternSource::psVideoRAM);
  EXPECT_EQ(vram.data(), document.Image().Data() + 0x12478);
  EXPECT_EQ(vram.size(), 65536u);
  const auto main = document.PatternSourceData(TPatternSource::psMainRAM);
  EXPECT_EQ(main.data(), document.Image().Data() + 0x2478);
  EXPECT_EQ(main.size(), 140408u - 0x2478);

  TLayout odd(LayoutIni::FromText("[VDP]\nRAM=broken\n"));
  TSavestateDocument other(odd);
  other.Image().SetSize(100);
  EXPECT_EQ(other.PatternSourceData(TPatternSource::psVideoRAM).data(), other.Image().Data());
}

}  // namespace
}  // namespace vantor
