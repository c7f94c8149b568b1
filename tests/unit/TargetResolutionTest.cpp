#include <gtest/gtest.h>

#include <map>

#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWindowOps.h"
#include "runtime/TargetResolution.h"

namespace ombrix {
namespace {

TEST(CommandLine, SplitsLikeTheRunTime) {
  struct Case {
    const char* line;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"\"C:\\Program Files\\Ombrix\\Ombrix.exe\" C:\\Tools\\app.exe -x \"a b\"", {"C:\\Tools\\app.exe", "-x", "a b"}},
      {"Ombrix.exe   a\tb\r\nc", {"a", "b", "c"}},
      {"Ombrix.exe \"C:\\My Files\\z.exe\"", {"C:\\My Files\\z.exe"}},
      {"Ombrix.exe a \"\" b", {"a"}},  // counting stops at the first empty argument
      {"Ombrix.exe a\"b c\"d", {"ab cd"}},
      {"Ombrix.exe \"unterminated arg", {"unterminated arg"}},
      {"Ombrix.exe", {}},
      {"Ombrix.exe    ", {}},
      {"\"C:\\odd name\\Ombrix.exe\"x y", {"y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.arguments, SplitCommandLineArguments(c.line)) << c.line;
}

TEST(CommandLine, TargetParamsQuoteArgumentsWithBlanks) {
  EXPECT_EQ("-x \"a b\" ", BuildTargetParams({"-x", "a b"}));
  EXPECT_EQ("", BuildTargetParams({}));
  EXPECT_EQ("tab\there ", BuildTargetParams({"tab\there"})) << "only a blank asks for quotes";
}

TEST(Extensions, UpperCasedFromTheLastDotOfTheName) {
  const std::map<std::string, std::string> cases = {
      {"C:\\x\\file.txt", ".TXT"},   {"C:\\a.b\\file", ""},
      {"file.tar.gz", ".GZ"},        {"C:file.Lnk", ".LNK"},
      {"C:\\x\\.hidden", ".HIDDEN"}, {"C:\\x\\caf\xE9.d\xE9", ".D\xC9"},
      {"C:\\x\\trailing.", "."},     {"", ""},
  };
  sim::SimWindowOps windows;
  for (const auto& [path, extension] : cases) EXPECT_EQ(extension, UpperExtension(windows, path)) << path;
}

// A file-type registry below HKEY_CLASSES_ROOT as a map of key paths to default values.
class FileTypes {
 public:
  FileTypes& Set(const std::string& key, const std::string& value) {
    values_[Upper(key)] = value;
    return *this;
  }
  ReadClassDefault Reader() const {
    return [this](const std::string& key) {
      auto it = values_.find(Upper(key));
      return it == values_.end() ? std::string() : it->second;
    };
  }

 private:
  static std::string Upper(const std::string& key) { return sim::SimWindowOps().CharUpperBuffA(key); }
  std::map<std::string, std::string> values_;
};

TEST(Documents, ResolveThroughTheirFileType) {
  struct Case {
    const char* name;
    const char* document;
    const char* command;  // of txtfile\Shell\Open\Command
    const char* targetFile;
    const char* targetParams;
  };
  const Case cases[] = {
      {"quoted %1", "C:\\Docs\\a.txt", "\"C:\\Program Files\\Ed\\ed.exe\" \"%1\"", "C:\\Program Files\\Ed\\ed.exe",
       "\"C:\\Docs\\a.txt\""},
      {"bare %1 with blank in path", "C:\\My Docs\\a.txt", "C:\\Ed\\ed.exe %1", "C:\\Ed\\ed.exe", "C:\\My Docs\\a.txt"},
      {"no %1, blank in path", "C:\\My Docs\\a.txt", "C:\\Ed\\ed.exe /p", "C:\\Ed\\ed.exe",
       "/p \"C:\\My Docs\\a.txt\""},
      {"no %1, no blank", "C:\\a.txt", "C:\\Ed\\ed.exe", "C:\\Ed\\ed.exe", "C:\\a.txt"},
      {"%2..%32 and %10", "C:\\a.txt", "ed.exe %1 %2 %10 %32 %33 %* %L", "ed.exe", "C:\\a.txt  0 2 %33 %* %L"},
      {"Windows' own txtfile", "C:\\a.txt", "%SystemRoot%\\system32\\NOTEPAD.EXE %1",
       "C:\\Windows\\system32\\NOTEPAD.EXE", "C:\\a.txt"},
      {"a reference after %1", "C:\\a.txt", "\"%ProgramFiles%\\Ed\\ed.exe\" \"%1\" /r=%SystemRoot%",
       "C:\\Program Files\\Ed\\ed.exe", "\"C:\\a.txt\" /r=C:\\Windows"},
      {"an undefined variable stays", "C:\\a.txt", "%NOSUCH%\\ed.exe %1", "%NOSUCH%\\ed.exe", "C:\\a.txt"},
      {"a document named with a reference keeps its name", "C:\\%SystemRoot% notes.txt", "%SystemRoot%\\ed.exe \"%1\"",
       "C:\\Windows\\ed.exe", "\"C:\\%SystemRoot% notes.txt\""},
      {".EXE wins over an earlier .COM", "C:\\a.txt", "C:\\tools.com\\app.exe %1", "C:\\tools.com\\app.exe",
       "C:\\a.txt"},
      {"batch file", "C:\\a.txt", "C:\\run.BAT \"%1\"", "C:\\run.BAT", "\"C:\\a.txt\""},
      {"a document named with %2 keeps its name", "C:\\100%2 sure.txt", "ed.exe \"%1\" %2", "ed.exe",
       "\"C:\\100%2 sure.txt\" "},
  };
  sim::SimWindowOps windows;
  sim::SimFileSystem files;
  sim::SimClock clock;
  sim::SimProcesses processes(files, clock, windows);
  processes.SetEnvironmentVariable("ProgramFiles", std::string("C:\\Program Files"));
  const ExpandEnvironment expand = [&](const std::string& text) { return processes.ExpandEnvironmentStringsA(text); };
  for (const Case& c : cases) {
    FileTypes types;
    types.Set(".TXT", "txtfile").Set("txtfile\\Shell\\Open\\Command", c.command);
    const DocumentCommand result = ResolveDocumentCommand(windows, c.document, ".TXT", types.Reader(), expand);
    ASSERT_TRUE(result.resolved) << c.name << ": " << result.errorText;
    EXPECT_EQ(c.targetFile, result.targetFile) << c.name;
    EXPECT_EQ(c.targetParams, result.targetParams) << c.name;
  }
}

TEST(Documents, VerbAndTypeLookup) {
  FileTypes types;
  types.Set(".DOC", "docfile")
      .Set("docfile\\Shell", "edit")
      .Set("docfile\\Shell\\edit\\Command", "C:\\W\\w.exe %1")
      .Set("docfile\\Shell\\Open\\Command", "C:\\W\\viewer.exe %1")
      .Set(".RAW\\Shell\\Open\\Command", "C:\\R\\r.exe %1");
  sim::SimWindowOps windows;
  DocumentCommand edit = ResolveDocumentCommand(windows, "C:\\a.doc", ".DOC", types.Reader(), {});
  EXPECT_EQ("C:\\W\\w.exe", edit.targetFile) << "the Shell key names the verb";
  DocumentCommand raw = ResolveDocumentCommand(windows, "C:\\a.raw", ".RAW", types.Reader(), {});
  EXPECT_EQ("C:\\R\\r.exe", raw.targetFile) << "without a type name the extension is the type";
}

TEST(Documents, FailuresCarryTheirMessages) {
  FileTypes types;
  types.Set(".TXT", "txtfile").Set(".BIN", "binfile").Set("binfile\\Shell\\Open\\Command", "\"%1\" /S");
  struct Case {
    const char* document;
    const char* extension;
    const char* message;
  };
  const Case cases[] = {
      {"C:\\a.txt", ".TXT", "Unsupported format \"txtfile\".\r\n\r\nI don't know how to run this\r\nfile...\r\n"},
      {"C:\\a.xyz", ".XYZ", "Unsupported format \".XYZ\".\r\n\r\nI don't know how to run this\r\nfile...\r\n"},
      {"C:\\noext", "", "Unsupported format \"\".\r\n\r\nI don't know how to run this\r\nfile...\r\n"},
      {"C:\\a.bin", ".BIN",
       "Unable to launch \"C:\\a.bin\" /S.\r\n\r\nThere has been an internal command-line break down error."},
  };
  sim::SimWindowOps windows;
  for (const Case& c : cases) {
    const DocumentCommand result = ResolveDocumentCommand(windows, c.document, c.extension, types.Reader(), {});
    EXPECT_FALSE(result.resolved) << c.document;
    EXPECT_EQ(c.message, result.errorText) << c.document;
  }
}

}  // namespace
}  // namespace ombrix
