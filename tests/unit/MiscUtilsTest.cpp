#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "base/AsciiCase.h"
#include "base/CallbackRef.h"
#include "base/DateTime.h"
#include "base/FilePaths.h"
#include "base/NumberText.h"
#include "base/Utf8.h"
#include "base/VersionText.h"
#include "platform/MiscUtils.h"
#include "platform/sim/SimPlatform.h"

namespace ombrix {
namespace {

TEST(VersionTexts, ShortVersionBuildNumberAndCaption) {
  struct Case {
    const char* version;
    const char* shortVersion;
    const char* build;
  };
  const Case cases[] = {
      {"3.91.0.297", "3.91", "297"},
      {"3.91.1.84", "3.91a", "84"},
      {"3.9.2.5", "3.09b", "5"},
      {"2.5.3.40", "2.05c", "40"},
      {"4.10.0.300", "4.10", "300"},
      {"1.0.26.1", "1.00z", "1"},
      // Beyond the letters and other than four fields: never a stray character.
      {"1.2.27.9", "1.02.27", "9"},
      {"1.2.x.9", "1.02", "9"},
      {"1.2.-1.9", "1.02", "9"},
      {"7", "7", ""},
      {"7.5", "7.05", "5"},
      {"7.5.1", "7.05a", "1"},
      {"1.2.3.4.5", "1.02c", "4.5"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shortVersion, ShortVersionOf(c.version)) << c.version;
    EXPECT_EQ(c.build, BuildNumberOf(c.version)) << c.version;
  }
}

TEST(VersionTexts, ReadFromTheFilesVersionResource) {
  sim::SimPlatform platform;
  const std::string exe = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  platform.SimFiles().WriteFileBytes(exe, "MZ");
  platform.SimFiles().SetVersionString(exe, "\\StringFileInfo\\040904E4\\FileVersion", "3.91.0.297");
  EXPECT_EQ("3.91.0.297", FileVersionText(platform, exe));
  EXPECT_EQ("3.91", ShortVersion(platform, exe));
  EXPECT_EQ("297", BuildNumber(platform, exe));
  EXPECT_EQ("Version 3.91 build 297", VersionCaption(platform, exe));

  // Another language block is not the one read.
  const std::string other = "C:\\Other.exe";
  platform.SimFiles().WriteFileBytes(other, "MZ");
  platform.SimFiles().SetVersionString(other, "\\StringFileInfo\\040704B0\\FileVersion", "9.9.9.9");
  EXPECT_EQ("", ShortVersion(platform, other));
  EXPECT_EQ("Version  build ", VersionCaption(platform, other));
  EXPECT_EQ("Version  build ", VersionCaption(platform, "C:\\missing.exe"));
}

TEST(Digits, OnlyDigitsAndTheirValue) {
  struct Case {
    const char* text;
    const char* digits;
    std::int32_t value;
  };
  const Case cases[] = {
      {"", "0", 0},
      {"abc", "", 0},
      {"0", "0", 0},
      {"007", "007", 7},
      {"1a0", "10", 10},
      {"-5", "5", 5},
      {"12abc", "12", 12},
      {" 3 4 ", "34", 34},
      {"2147483647", "2147483647", 2147483647},
      {"2147483648", "2147483648", 2147483647},
      {"99999999999999999999999", "99999999999999999999999", 2147483647},
      {"0000000000000000000042", "0000000000000000000042", 42},
      {"\xB2\xB3", "", 0},  // superscript digits are not decimal digits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.digits, DigitsOnly(c.text)) << c.text;
    EXPECT_EQ(c.value, DigitsToInt(c.text)) << c.text;
  }
  EXPECT_EQ("7", IntToText(DigitsToInt("007")));
  EXPECT_EQ("-2147483648", IntToText(INT32_MIN));
  EXPECT_EQ("0", IntToText(0));
}

TEST(Time, TimeOfDayInMilliseconds) {
  EXPECT_EQ(0, TimeToMilliseconds(0.0));
  EXPECT_EQ(((13 * 60 + 45) * 60 + 30) * 1000 + 250, TimeToMilliseconds(EncodeDateTime(2026, 12, 7, 13, 45, 30, 250)));
  EXPECT_EQ(1500, TimeToMilliseconds(3.0 + 1500 / MillisecondsPerDay)) << "whole days are not counted";
  EXPECT_EQ(86399999, TimeToMilliseconds(EncodeDateTime(2026, 12, 7, 23, 59, 59, 999)));
  EXPECT_EQ(46363.375, EncodeDateTime(2026, 12, 7, 9, 0, 0, 0));
}

TEST(Pause, KeepsTimersRunningAndLastsItsTime) {
  sim::SimPlatform platform;
  int ticks = 0;
  platform.Messages().SetTimer(100, [&] { ++ticks; });
  const auto before = platform.SimTime().Elapsed();
  PauseWithMessages(platform, 1000);
  EXPECT_GT(platform.SimTime().Elapsed() - before, 1000u);
  EXPECT_EQ(10, ticks);
}

TEST(Pause, ZeroStillProcessesMessagesOnce) {
  sim::SimPlatform platform;
  bool delivered = false;
  platform.SimMessages().Post([&] { delivered = true; });
  PauseWithMessages(platform, 0);
  EXPECT_TRUE(delivered);
}

TEST(Pause, EndsWhenTheClockIsSetBack) {
  sim::SimPlatform platform;
  platform.SimMessages().Post([&] { platform.SimTime().SetNow(platform.Clock().Now() - 1.0 / 24); });
  PauseWithMessages(platform, 5000);
  EXPECT_LT(platform.SimTime().Elapsed(), 5000u);
}

TEST(AskYesNo, DesktopOwnedForegroundQuestion) {
  sim::SimPlatform platform;
  platform.SimBoxes().AnswerNextBox(IDNO);
  EXPECT_EQ(IDNO, AskYesNo(platform, "Vorel Ombrix", "Close?"));
  ASSERT_EQ(1u, platform.SimBoxes().Boxes().size());
  const sim::ShownMessageBox& box = platform.SimBoxes().Boxes()[0];
  EXPECT_EQ(0x10004u, box.type);
  EXPECT_EQ(platform.Windows().GetDesktopWindow(), box.owner);
  EXPECT_EQ("Vorel Ombrix", box.caption);
  EXPECT_EQ("Close?", box.text);
}

TEST(PathParts, FolderAndExtensionOfTheLastPart) {
  const struct {
    const char* path;
    const char* folder;
    const char* withLnk;
  } cases[] = {
      {"C:\\Temp\\OBX1A.TMP", "C:\\Temp\\", "C:\\Temp\\OBX1A.LNK"},
      {"C:\\My.Dir\\name", "C:\\My.Dir\\", "C:\\My.Dir\\name.LNK"},
      {"OBX0F1E2.TMP", "", "OBX0F1E2.LNK"},
      {"C:file.a.b", "C:", "C:file.a.LNK"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.folder, FolderOf(c.path)) << c.path;
    EXPECT_EQ(c.withLnk, ChangeFileExt(c.path, ".LNK")) << c.path;
  }
}

// The same texts as the programs meet them: UTF-8 of one to four bytes a character, and the
// bytes of a legacy code page (\xE9 is é in Windows-1252), which count one a character.
TEST(TextMeasure, CharactersAreWholeUtf8SequencesOrSingleBytes) {
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // three characters of three bytes
  const std::string emoji = "\xF0\x9F\x98\x80";                         // one beyond U+FFFF: two UTF-16 units
  const struct {
    std::string text;
    bool utf8;
    std::size_t characters;
  } cases[] = {
      {"", true, 0},
      {"Notepad", true, 7},
      {"Caf\xC3\xA9 \xCE\xB1\xCE\xB2", true, 7},
      {japanese + emoji, true, 5},
      {"Caf\xE9 m\xFC"
       "de",
       false, 9},
      {"\xC3\xA9\xE9", false, 2},      // a character, then a legacy byte
      {"\xE6\x97", false, 2},          // a cut sequence: two bytes on their own
      {"\x80\xBF", false, 2},          // continuation bytes without a lead
      {"\xC0\xAF", false, 2},          // an overlong "/"
      {"\xED\xA0\x80", false, 3},      // a UTF-16 surrogate
      {"\xF4\x90\x80\x80", false, 4},  // beyond U+10FFFF
      {std::string("a\0b", 3), true, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.utf8, IsUtf8(c.text)) << c.text;
    EXPECT_EQ(c.characters, CharacterCount(c.text)) << c.text;
  }
}

TEST(TextMeasure, CutEndsOnAWholeCharacter) {
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
  const std::string emoji = "\xF0\x9F\x98\x80";
  const struct {
    std::string text;
    std::size_t maxBytes;
    std::string cut;
  } cases[] = {
      {japanese, 9, japanese},
      {japanese, 8, japanese.substr(0, 6)},
      {japanese, 6, japanese.substr(0, 6)},
      {japanese, 5, japanese.substr(0, 3)},
      {japanese, 2, ""},
      {"a" + emoji + "b", 4, "a"},
      {"a" + emoji + "b", 5, "a" + emoji},
      {"Caf\xE9s", 4, "Caf\xE9"},  // a legacy byte is cut like any other
      {"Notepad", 3, "Not"},
      {"Notepad", 100, "Notepad"},
      {"", 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.cut, CutText(c.text, c.maxBytes)) << c.text << " in " << c.maxBytes;
}

// Only a to z change: the characters beside them in ASCII, and every byte beyond ASCII (a
// letter of Windows-1252, a byte of UTF-8), stay as they are.
TEST(AsciiCase, OnlyTheLettersAToZAreUpperCased) {
  const struct {
    std::string text;
    std::string upper;
  } cases[] = {
      {"", ""},
      {"notepad.exe", "NOTEPAD.EXE"},
      {"AzaZ `{@[ 09_-", "AZAZ `{@[ 09_-"},
      {"caf\xE9 \xE0\xFF", "CAF\xE9 \xE0\xFF"},
      {"caf\xC3\xA9 \xCE\xB1", "CAF\xC3\xA9 \xCE\xB1"},
      {std::string("a\0b", 3), std::string("A\0B", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.upper, AsciiUpperCase(c.text)) << c.text;
}

// The reference calls the very object it was given, each time it is called: a lambda whose
// captured state the call changes, a form's stored std::function (also when const), and an
// error the call raises reaches the caller.
TEST(CallbackRef, CallsTheObjectItWasGivenAndLetsItsErrorsPass) {
  int calls = 0;
  auto count = [&calls] { ++calls; };
  auto runTwice = [](TCallbackRef call) {
    call();
    call();
  };
  runTwice(count);
  EXPECT_EQ(2, calls);

  std::function<void()> stored = [&calls] { calls += 10; };
  runTwice(stored);
  EXPECT_EQ(22, calls);
  const std::function<void()>& storedConst = stored;
  runTwice(storedConst);
  EXPECT_EQ(42, calls);
  stored = [&calls] { calls = -1; };  // the reference follows what the object holds now
  runTwice(stored);
  EXPECT_EQ(-1, calls);

  EXPECT_THROW(runTwice([] { throw std::runtime_error("handler failed"); }), std::runtime_error);
}

// The C library's own "%.15g" and "%0*x" are the reference, over the edges of the format
// (the switch to scientific notation, rounding that carries into a new digit, exact ties,
// the smallest and largest doubles) and over doubles of every magnitude drawn at random.
TEST(NumberText, MatchesPrintfsFormats) {
  auto printed = [](const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return std::string(text);
  };
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -2.5,
                                0.1,
                                1e-4,
                                9.99999999999999e-5,
                                0.000123456789012345678,
                                123456789012345.0,
                                999999999999999.0,
                                9999999999999995.0,
                                1e15,
                                123456789012345.5,
                                123456789012344.5,
                                0.5,
                                2.0 / 3.0,
                                1e300,
                                1e-300,
                                std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isnan(value)) values.push_back(value);
  }
  for (double value : values) {
    ASSERT_EQ(printed("%.15g", value), GeneralNumberText(value)) << std::hexfloat << value;
  }
  for (std::uint32_t value : {0u, 9u, 0xABu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    EXPECT_EQ(printed("%02x", value), HexText(value, 2, false));
    EXPECT_EQ(printed("%08X", value), HexText(value, 8, true));
  }
}

}  // namespace
}  // namespace ombrix
