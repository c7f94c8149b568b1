// The .lnk codec: the bytes it writes, what real shells write and it must read, what it must
// refuse, and a generated corpus of damaged files it must refuse or read without stepping
// outside the input (run under the sanitizers in the native-sanitize build).

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "platform/sim/LnkFormat.h"

namespace ombrix::sim {
namespace {

std::string Le16(DWORD value) { return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)}; }
std::string Le32(DWORD value) { return Le16(value & 0xFFFF) + Le16(value >> 16); }
std::string Wide(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) bytes += Le16(unit);
  return bytes;
}
const std::string ClassId("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);

std::string FromHex(const char* hex) {
  std::string bytes;
  unsigned value = 0;
  int digits = 0;
  for (const char* c = hex; *c; ++c) {
    if (!std::isxdigit(static_cast<unsigned char>(*c))) continue;
    value = value * 16 +
            static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(*c)) ? *c - '0' : (*c | 0x20) - 'a' + 10);
    if (++digits == 2) {
      bytes += static_cast<char>(value);
      value = 0;
      digits = 0;
    }
  }
  return bytes;
}

// What wine's shell wrote for: description "Notes", path C:\windows\notepad.exe, working
// folder C:\Docs, arguments "todo.txt", show command 7, hot key 0x0654, icon notepad.exe,1.
// An item-ID list, LinkInfo with a volume label, strings counted with their NUL.
const char* const WineShortcut =
    "4C 00 00 00 01 14 02 00 00 00 00 00 C0 00 00 00 00 00 00 46 F7 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 07 00 00 00"
    "54 06 00 00 00 00 00 00 00 00 00 00 B3 00 14 00 1F 00 E0 4F D0 20 EA 3A 69 10 A2 D8 08 00 2B 30"
    "30 9D 19 00 23 43 3A 5C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 3C 00 31 00 00"
    "00 00 00 87 5D C7 B3 10 00 77 69 6E 64 6F 77 73 00 26 00 00 00 00 00 00 00 87 5D C7 B3 87 5D C7"
    "B3 00 00 00 00 77 00 69 00 6E 00 64 00 6F 00 77 00 73 00 00 00 16 00 48 00 32 00 00 00 00 00 00"
    "00 00 00 00 00 6E 6F 74 65 70 61 64 2E 65 78 65 00 2E 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    "00 00 00 00 00 6E 00 6F 00 74 00 65 00 70 00 61 00 64 00 2E 00 65 00 78 00 65 00 00 00 1A 00 00"
    "00 45 00 00 00 1C 00 00 00 01 00 00 00 1C 00 00 00 2D 00 00 00 00 00 00 00 44 00 00 00 11 00 00"
    "00 03 00 00 00 00 00 00 43 10 00 00 00 00 43 3A 5C 77 69 6E 64 6F 77 73 5C 6E 6F 74 65 70 61 64"
    "2E 65 78 65 00 00 06 00 4E 00 6F 00 74 00 65 00 73 00 00 00 08 00 43 00 3A 00 5C 00 44 00 6F 00"
    "63 00 73 00 00 00 09 00 74 00 6F 00 64 00 6F 00 2E 00 74 00 78 00 74 00 00 00 17 00 43 00 3A 00"
    "5C 00 77 00 69 00 6E 00 64 00 6F 00 77 00 73 00 5C 00 6E 00 6F 00 74 00 65 00 70 00 61 00 64 00"
    "2E 00 65 00 78 00 65 00 00 00 00 00 00 00";

LnkRecord WineRecord() {
  LnkRecord record;
  record.description = "Notes";
  record.targetPath = "C:\\windows\\notepad.exe";
  record.workingDir = "C:\\Docs";
  record.arguments = "todo.txt";
  record.showCommand = SW_SHOWMINNOACTIVE;
  record.hotKey = 0x0654;
  record.iconLocation = "C:\\windows\\notepad.exe";
  record.iconIndex = 1;
  return record;
}

// Builds shortcut bytes part by part, remembering where each size or offset sits so that
// the corpus test can set it to extremes.
class LnkBuilder {
 public:
  struct Field {
    size_t offset;
    int width;
    bool hugeMustFail;  // the reader relies on it, so an enormous value cannot decode
  };

  LnkBuilder& Header(DWORD flags, INT showCommand = SW_SHOWNORMAL, WORD hotKey = 0, INT iconIndex = 0) {
    Mark(4, true);  // the header size
    bytes_ += Le32(0x4C) + ClassId + Le32(flags) + Le32(0) + std::string(24, '\0') + Le32(0) +
              Le32(static_cast<DWORD>(iconIndex)) + Le32(static_cast<DWORD>(showCommand)) + Le16(hotKey) +
              std::string(10, '\0');
    return *this;
  }
  LnkBuilder& IdList(const std::string& items) {
    Mark(2, true);
    bytes_ += Le16(static_cast<DWORD>(items.size() + 2)) + items + Le16(0);
    return *this;
  }
  // LinkInfo with a local path; with `wide`, the Unicode header and Unicode path as well.
  LnkBuilder& LinkInfo(const std::string& base, const std::string& suffix, const std::u16string* wide = nullptr) {
    const DWORD headerSize = wide ? 0x24 : 0x1C;
    const std::string volume = Le32(0x11) + Le32(3) + Le32(0x1234) + Le32(0x10) + std::string(1, '\0');
    const DWORD volumeOffset = headerSize;
    const DWORD baseOffset = volumeOffset + static_cast<DWORD>(volume.size());
    const DWORD suffixOffset = baseOffset + static_cast<DWORD>(base.size()) + 1;
    const DWORD wideOffset = suffixOffset + static_cast<DWORD>(suffix.size()) + 1;
    const std::string wideBytes = wide ? Wide(*wide) + Le16(0) : std::string();
    const DWORD wideSuffixOffset = wideOffset + static_cast<DWORD>(wideBytes.size());
    const std::string tail = wide ? Le16(0) : std::string();  // empty Unicode suffix
    const DWORD total = wideSuffixOffset + static_cast<DWORD>(tail.size());
    const size_t start = bytes_.size();
    std::string block =
        Le32(total) + Le32(headerSize) + Le32(1) + Le32(volumeOffset) + Le32(baseOffset) + Le32(0) + Le32(suffixOffset);
    if (wide) block += Le32(wideOffset) + Le32(wideSuffixOffset);
    block += volume + base + std::string(1, '\0') + suffix + std::string(1, '\0') + wideBytes + tail;
    for (size_t at : {0, 4, 12, 16, 24}) fields_.push_back({start + at, 4, true});
    fields_.push_back({start + volumeOffset, 4, true});  // the volume id's own size
    if (wide) {
      fields_.push_back({start + 0x1C, 4, true});
      fields_.push_back({start + 0x20, 4, true});
    }
    bytes_ += block;
    return *this;
  }
  LnkBuilder& Unicode(const std::u16string& text, bool countNul = false) {
    Mark(2, true);
    bytes_ += Le16(static_cast<DWORD>(text.size() + (countNul ? 1 : 0))) + Wide(text) + (countNul ? Le16(0) : "");
    return *this;
  }
  LnkBuilder& Ansi(const std::string& text) {
    Mark(2, true);
    bytes_ += Le16(static_cast<DWORD>(text.size())) + text;
    return *this;
  }
  LnkBuilder& Extra(DWORD signature, size_t payload) {
    Mark(4, true);
    bytes_ += Le32(static_cast<DWORD>(8 + payload)) + Le32(signature) + std::string(payload, '\x5A');
    return *this;
  }
  LnkBuilder& End() {
    bytes_ += Le32(0);
    return *this;
  }
  LnkBuilder& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }

  const std::string& Bytes() const { return bytes_; }
  const std::vector<Field>& Fields() const { return fields_; }

 private:
  void Mark(int width, bool hugeMustFail) { fields_.push_back({bytes_.size(), width, hugeMustFail}); }

  std::string bytes_;
  std::vector<Field> fields_;
};

// Decodes from a buffer of exactly the input's size, so that any read past its end is a
// heap overflow the address sanitizer reports.
std::optional<LnkRecord> DecodeExact(const std::string& bytes, std::string& error) {
  std::vector<char> exact(bytes.begin(), bytes.end());
  return DecodeLnk(std::string_view(exact.data(), exact.size()), error);
}

LnkRecord FullRecord() {
  LnkRecord record;
  record.description = "Caf\xE9 \x80 list";  // é and the euro sign
  record.targetPath = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  record.relativePath = "..\\Program Files\\Ombrix\\Ombrix.exe";
  record.workingDir = "C:\\Docs";
  record.arguments = "\"C:\\Docs\\todo list.txt\"";
  record.iconLocation = "C:\\icons.dll";
  record.iconIndex = -7;
  record.showCommand = SW_SHOWMAXIMIZED;
  record.hotKey = 0x0770;
  record.fileAttributes = 0x20;
  return record;
}

TEST(LnkFormat, WritesThePublishedLayout) {
  LnkRecord record;
  record.description = "d";
  record.targetPath = "C:\\a.exe";
  record.arguments = "x";
  record.iconLocation = "i";
  record.iconIndex = -1;
  record.showCommand = SW_SHOWMINNOACTIVE;
  record.hotKey = 0x0654;

  const DWORD flags = 0x02 | 0x04 | 0x20 | 0x40 | 0x80;  // LinkInfo, name, arguments, icon, Unicode
  const std::string header = Le32(0x4C) + ClassId + Le32(flags) + Le32(0) + std::string(24, '\0') + Le32(0) +
                             Le32(0xFFFFFFFF) + Le32(7) + Le16(0x0654) + std::string(10, '\0');
  const std::string linkInfo = Le32(0x1C + 0x11 + 9 + 1) + Le32(0x1C) + Le32(1) + Le32(0x1C) + Le32(0x1C + 0x11) +
                               Le32(0) + Le32(0x1C + 0x11 + 9) + Le32(0x11) + Le32(3) + Le32(0) + Le32(0x10) +
                               std::string(1, '\0') + std::string("C:\\a.exe\0\0", 10);
  const std::string strings = Le16(1) + Wide(u"d") + Le16(1) + Wide(u"x") + Le16(1) + Wide(u"i");
  EXPECT_EQ(header + linkInfo + strings + Le32(0), EncodeLnk(record));
}

TEST(LnkFormat, EmptyFieldsAreLeftOutAndTextsStopAtANul) {
  LnkRecord record;
  record.arguments = std::string("abc\0def", 7);
  const std::string bytes = EncodeLnk(record);
  EXPECT_EQ(Le32(0x20 | 0x80), bytes.substr(0x14, 4)) << "only arguments and Unicode";
  EXPECT_EQ(0x4Cu + 2 + 6 + 4, bytes.size());
  std::string error;
  auto decoded = DecodeLnk(bytes, error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ("abc", decoded->arguments);
}

TEST(LnkFormat, RecordsSurviveARoundTrip) {
  LnkRecord longText;
  longText.arguments = std::string(70000, 'a');
  LnkRecord cut = longText;
  cut.arguments.resize(0xFFFF);
  const struct {
    LnkRecord in;
    LnkRecord out;
  } cases[] = {{LnkRecord(), LnkRecord()}, {FullRecord(), FullRecord()}, {WineRecord(), WineRecord()}, {longText, cut}};
  for (const auto& sample : cases) {
    std::string error;
    auto decoded = DecodeLnk(EncodeLnk(sample.in), error);
    ASSERT_TRUE(decoded) << error;
    EXPECT_TRUE(sample.out == *decoded) << "target '" << decoded->targetPath << "' description '"
                                        << decoded->description << "'";
  }
}

TEST(LnkFormat, ReadsWhatWineWrote) {
  std::string error;
  auto decoded = DecodeExact(FromHex(WineShortcut), error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_TRUE(WineRecord() == *decoded) << decoded->targetPath << " / " << decoded->description;
}

TEST(LnkFormat, ReadsTheOtherFormsRealShellsWrite) {
  const std::string wine = FromHex(WineShortcut);
  const std::u16string wideTarget = u"C:\\Caf\u00E9\\\u20AC\u4E2D.exe";  // the last is not in the code page
  LnkRecord ansi;
  ansi.description = "d\xE9j\xE0";
  ansi.targetPath = "C:\\x.exe";

  const struct {
    const char* what;
    std::string bytes;
    std::function<void(const LnkRecord&)> check;
  } cases[] = {
      {"extra data blocks before the terminator",
       wine.substr(0, wine.size() - 4) + LnkBuilder().Extra(0xA0000003, 0x58).Extra(0xA0000009, 0x10).End().Bytes(),
       [](const LnkRecord& r) { EXPECT_TRUE(WineRecord() == r); }},
      {"bytes after the terminator", wine + "trailing", [](const LnkRecord& r) { EXPECT_TRUE(WineRecord() == r); }},
      {"ANSI strings", LnkBuilder().Header(0x02 | 0x04).LinkInfo("C:\\x.exe", "").Ansi("d\xE9j\xE0").End().Bytes(),
       [&](const LnkRecord& r) { EXPECT_TRUE(ansi == r) << r.description; }},
      {"a path split into base and suffix",
       LnkBuilder().Header(0x02 | 0x80).LinkInfo("C:\\Tools\\", "tool.exe").End().Bytes(),
       [](const LnkRecord& r) { EXPECT_EQ("C:\\Tools\\tool.exe", r.targetPath); }},
      {"a Unicode LinkInfo path",
       LnkBuilder().Header(0x02 | 0x80).LinkInfo("C:\\Caf\xE9\\??.exe", "", &wideTarget).End().Bytes(),
       [](const LnkRecord& r) { EXPECT_EQ("C:\\Caf\xE9\\\x80?.exe", r.targetPath); }},
      {"an item-ID list and only a relative path",
       LnkBuilder()
           .Header(0x01 | 0x08 | 0x80)
           .IdList(std::string("\x06\x00\x1F\x50\x00\x00", 6))
           .Unicode(u"tool.exe", true)
           .End()
           .Bytes(),
       [](const LnkRecord& r) {
         EXPECT_EQ("", r.targetPath);
         EXPECT_EQ("tool.exe", r.relativePath);
       }},
      {"a NUL inside a string ends it",
       LnkBuilder().Header(0x20 | 0x80).Unicode(std::u16string(u"ab\0cd", 5)).End().Bytes(),
       [](const LnkRecord& r) { EXPECT_EQ("ab", r.arguments); }},
      {"LinkInfo ignored on request", LnkBuilder().Header(0x02 | 0x100 | 0x80).LinkInfo("C:\\x.exe", "").End().Bytes(),
       [](const LnkRecord& r) { EXPECT_EQ("", r.targetPath); }},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.what);
    std::string error;
    auto decoded = DecodeExact(sample.bytes, error);
    ASSERT_TRUE(decoded) << error;
    sample.check(*decoded);
  }
}

TEST(LnkFormat, RefusesMalformedFilesSayingWhy) {
  const std::string good = EncodeLnk(FullRecord());
  auto patched = [&](size_t at, const std::string& bytes) {
    std::string copy = good;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  const size_t linkInfo = 0x4C;
  const struct {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"empty", "", "fewer than a shortcut header"},
      {"short header", good.substr(0, 0x4B), "fewer than a shortcut header"},
      {"header size", patched(0, Le32(0x4D)), "header size is 0x4D"},
      {"class id", patched(4, std::string(16, '\0')), "class id"},
      {"ID list past the end", LnkBuilder().Header(0x01).Raw(Le16(0x40) + "abc").Bytes(), "item-ID list of 64 bytes"},
      {"ID list size cut", LnkBuilder().Header(0x01).Raw("\x05").Bytes(), "item-ID list size"},
      {"LinkInfo smaller than its header", patched(linkInfo, Le32(0x10)), "smaller than its header"},
      {"LinkInfo past the end", patched(linkInfo, Le32(0x10000)), "LinkInfo of 65536 bytes"},
      {"LinkInfo header size", patched(linkInfo + 4, Le32(0x20)), "header size 0x20 is invalid"},
      {"volume id outside", patched(linkInfo + 12, Le32(0x200)), "volume id offset"},
      {"volume id too big", patched(linkInfo + 0x1C, Le32(0x400)), "volume id size"},
      {"base path outside", patched(linkInfo + 16, Le32(0xFFFFFFF0)), "local base path offset"},
      {"suffix outside", patched(linkInfo + 24, Le32(0x7FFFFFFF)), "common path suffix offset"},
      {"base path unterminated",
       LnkBuilder()
           .Header(0x02)
           .Raw(Le32(0x2D + 3) + Le32(0x1C) + Le32(1) + Le32(0x1C) + Le32(0x2D) + Le32(0) + Le32(0x2D) + Le32(0x11) +
                Le32(3) + Le32(0) + Le32(0x10) + std::string(1, '\0') + "abc")
           .End()
           .Bytes(),
       "local base path is not terminated"},
      {"string past the end", LnkBuilder().Header(0x04 | 0x80).Raw(Le16(100) + "ab").Bytes(), "description of 100"},
      {"string count cut", LnkBuilder().Header(0x20 | 0x80).Raw("\x01").Bytes(), "arguments length"},
      {"no terminator", LnkBuilder().Header(0x80).Bytes(), "without its terminator"},
      {"extra block too small", LnkBuilder().Header(0x80).Raw(Le32(4)).End().Bytes(), "too small"},
      {"extra block past the end", LnkBuilder().Header(0x80).Raw(Le32(0x100) + Le32(0xA0000003)).Bytes(),
       "extra data block of 256 bytes"},
  };
  for (const auto& sample : cases) {
    std::string error;
    auto decoded = DecodeExact(sample.bytes, error);
    EXPECT_FALSE(decoded) << sample.what;
    EXPECT_NE(std::string::npos, error.find(sample.error)) << sample.what << ": " << error;
  }
}

// The damaged-file corpus. Seeds are the files the codec writes and the forms real shells
// write; every damage must give either a record that survives its own round trip or an
// error with a message, never a read outside the input.
class LnkCorpus : public ::testing::Test {
 protected:
  static std::vector<LnkBuilder> BuiltSeeds() {
    const std::u16string wide = u"C:\\W\\\u20AC.exe";
    std::vector<LnkBuilder> seeds;
    seeds.push_back(LnkBuilder()
                        .Header(0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20 | 0x40 | 0x80, 7, 0x0654, -2)
                        .IdList(std::string("\x06\x00\x1F\x50\x00\x00", 6))
                        .LinkInfo("C:\\W\\", "x.exe")
                        .Unicode(u"desc", true)
                        .Unicode(u"..\\x.exe")
                        .Unicode(u"C:\\W", true)
                        .Unicode(u"-a -b")
                        .Unicode(u"C:\\i.ico", true)
                        .Extra(0xA0000003, 0x50)
                        .End());
    seeds.push_back(LnkBuilder().Header(0x02 | 0x04 | 0x20).LinkInfo("C:\\x.exe", "", &wide).Ansi("d").Ansi("a").End());
    return seeds;
  }

  static std::vector<std::string> AllSeeds() {
    std::vector<std::string> seeds = {EncodeLnk(FullRecord()), FromHex(WineShortcut)};
    for (const LnkBuilder& built : BuiltSeeds()) seeds.push_back(built.Bytes());
    return seeds;
  }

  // Decodes one damaged input; true when it decoded.
  static bool Check(const std::string& bytes) {
    std::string error;
    auto decoded = DecodeExact(bytes, error);
    if (!decoded) {
      EXPECT_FALSE(error.empty());
      return false;
    }
    auto again = DecodeLnk(EncodeLnk(*decoded), error);
    EXPECT_TRUE(again && *again == *decoded) << "a decoded record must encode to itself: " << error;
    return true;
  }
};

TEST_F(LnkCorpus, SeedsDecode) {
  for (const std::string& seed : AllSeeds()) EXPECT_TRUE(Check(seed));
}

TEST_F(LnkCorpus, EveryTruncationIsRefused) {
  for (const std::string& seed : AllSeeds()) {
    for (size_t length = 0; length < seed.size(); ++length) {
      EXPECT_FALSE(Check(seed.substr(0, length))) << "cut to " << length << " of " << seed.size();
    }
  }
}

TEST_F(LnkCorpus, EveryBitFlipIsReadOrRefused) {
  size_t refused = 0, total = 0;
  for (const std::string& seed : AllSeeds()) {
    for (size_t at = 0; at < seed.size(); ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        std::string damaged = seed;
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
        refused += Check(damaged) ? 0 : 1;
        ++total;
      }
    }
  }
  // Flips in texts and header values still decode; flips in structure do not.
  EXPECT_GT(refused, 0u);
  EXPECT_LT(refused, total);
}

TEST_F(LnkCorpus, SizesAndOffsetsAtExtremesAreReadOrRefused) {
  for (const LnkBuilder& seed : BuiltSeeds()) {
    ASSERT_TRUE(Check(seed.Bytes()));
    for (const LnkBuilder::Field& field : seed.Fields()) {
      const DWORD limit = field.width == 2 ? 0xFFFF : 0xFFFFFFFF;
      const DWORD size = static_cast<DWORD>(seed.Bytes().size());
      for (DWORD value :
           {DWORD(0), DWORD(1), DWORD(3), DWORD(7), size - 1, size, size + 1, limit / 2, limit - 1, limit}) {
        std::string damaged = seed.Bytes();
        const std::string patch = field.width == 2 ? Le16(value & 0xFFFF) : Le32(value);
        damaged.replace(field.offset, patch.size(), patch);
        const bool decoded = Check(damaged);
        if (field.hugeMustFail && value >= limit / 2) {
          EXPECT_FALSE(decoded) << "field at " << field.offset << " set to " << value;
        }
      }
    }
  }
}

TEST_F(LnkCorpus, RandomDamageIsReadOrRefused) {
  std::mt19937 random(20240611);  // fixed: the same corpus on every run
  const std::vector<std::string> seeds = AllSeeds();
  for (int round = 0; round < 20000; ++round) {
    std::string damaged = seeds[random() % seeds.size()];
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int edit = 0; edit < edits && !damaged.empty(); ++edit) {
      const size_t at = random() % damaged.size();
      switch (random() % 4) {
        case 0:
          damaged[at] = static_cast<char>(random());
          break;
        case 1:
          damaged.erase(at, 1 + random() % 8);
          break;
        case 2:
          damaged.insert(at, std::string(1 + random() % 8, static_cast<char>(random())));
          break;
        default:
          damaged[at] = static_cast<char>(0xFF);
          break;
      }
    }
    Check(damaged);
  }
}

TEST(LnkText, CodePageConversionIsLosslessForEveryByte) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(all, Utf16ToAnsi(AnsiToUtf16(all)));
  EXPECT_EQ(u"\u20AC\u00E9\u0178", AnsiToUtf16("\x80\xE9\x9F"));
  EXPECT_EQ("?a?", Utf16ToAnsi(u"\u4E2Da\u0100"));
}

}  // namespace
}  // namespace ombrix::sim
