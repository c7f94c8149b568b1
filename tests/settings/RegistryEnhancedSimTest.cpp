// The settings store component where the registry misbehaves (simulated registry only).

#include "tests/settings/SimFixture.h"

namespace ombrix::settingstest {
namespace {

using RegistryStoreFailures = SimSettingsTest;

TEST_F(RegistryStoreFailures, AFailedWriteRaisesWithTheValueNameAndAFailedCreateIsSilent) {
  Sim().SimReg().FailNth(sim::SimRegistry::Op::kSet, 1, ERROR_ACCESS_DENIED);
  try {
    Store().WriteValue("Sub\\Level\\Value7", TVariant(1));
    ADD_FAILURE() << "the failed write was not reported";
  } catch (const ERegistryException& error) {
    EXPECT_EQ("Failed to set data for 'Value7'", error.Message());
  }
  Sim().SimReg().FailAlways(sim::SimRegistry::Op::kCreate, ERROR_ACCESS_DENIED);
  Store().WriteValue("Other", TVariant(1));
  Sim().SimReg().ClearFailures();
  EXPECT_TRUE(RawValueNames().empty());
  EXPECT_TRUE(RawValueNames("Sub\\Level").empty());
}

// Callers that must tell the user about a refused change ask LastError afterwards.
TEST_F(RegistryStoreFailures, LastErrorNamesTheRefusalOfTheLastWriteOrDelete) {
  using Op = sim::SimRegistry::Op;
  struct Case {
    const char* what;
    bool refuse;
    Op refused;
    bool write;  // WriteValue of Tree\Leaf\Value, else DeleteKey("Tree")
    LONG expected;
    bool treeLeft;  // Tree\Leaf still there afterwards
  };
  const Case cases[] = {
      {"write, nothing refused", false, Op::kSet, true, ERROR_SUCCESS, true},
      {"write, key creation refused", true, Op::kCreate, true, ERROR_ACCESS_DENIED, true},
      {"write, value refused", true, Op::kSet, true, ERROR_ACCESS_DENIED, true},
      {"delete, nothing refused", false, Op::kDeleteKey, false, ERROR_SUCCESS, false},
      {"delete, the deepest key's deletion refused", true, Op::kDeleteKey, false, ERROR_ACCESS_DENIED, true},
      {"delete, the base key cannot be opened", true, Op::kOpen, false, ERROR_ACCESS_DENIED, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Store().WriteValue("Tree\\Leaf\\Value", TVariant(1));
    ASSERT_EQ(ERROR_SUCCESS, Store().LastError());
    // Only the first call of the kind is refused, so the delete's first step is the one.
    if (c.refuse) Sim().SimReg().FailNth(c.refused, 1, ERROR_ACCESS_DENIED);
    try {
      if (c.write) {
        Store().WriteValue("Tree\\Leaf\\Value", TVariant(2));
      } else {
        Store().DeleteKey("Tree");
      }
    } catch (const ERegistryException&) {
      EXPECT_TRUE(c.refuse && c.refused == Op::kSet) << "only a refused value write raises";
    }
    Sim().SimReg().ClearFailures();
    EXPECT_EQ(c.expected, Store().LastError());
    EXPECT_EQ(c.treeLeft, KeyExists("Tree\\Leaf"));
  }
  // A key that is not there is deleted as asked.
  Store().DeleteKey("Nothing\\Here");
  EXPECT_EQ(ERROR_SUCCESS, Store().LastError());
}

// Rewrites the value "Racing" as the data is read, as another program writing at that very
// moment would: between the question about its type and size and the read itself.
class RacingPlatform : public sim::SimPlatform {
 public:
  class Racing : public sim::SimRegistry {
   public:
    LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                          DWORD* size) override {
      if (data && name == "Racing") RegSetValueExA(key, name, REG_BINARY, newData);
      return SimRegistry::RegQueryValueExA(key, name, type, data, size);
    }
    std::vector<BYTE> newData;
  };
  IRegistry& Registry() override { return racing; }
  Racing racing;
};

TEST(RegistryStoreRaces, ADataChangeBeforeTheReadIsReportedNotMisread) {
  struct Case {
    DWORD type;
    std::vector<BYTE> data, newData;
    const char* message;
  };
  const Case cases[] = {
      {REG_SZ, {'a', 'b', 0}, {1, 2, 3}, "Invalid data type for 'Racing'"},
      {REG_DWORD, {1, 0, 0, 0}, {1, 2, 3, 4}, "Invalid data type for 'Racing'"},
      // Grown beyond the buffer sized for it: the read fails rather than overruns.
      {REG_SZ, {'a', 0}, std::vector<BYTE>(64, 'x'), "Failed to get data for 'Racing'"},
  };
  for (const Case& c : cases) {
    RacingPlatform platform;
    TRegistryEnhanced store(platform);
    store.Key = "Software\\Race";
    store.WriteValue("Racing", TVariant(0));
    HKEY key = nullptr;
    platform.racing.RegOpenKeyExA(HKEY_CURRENT_USER, store.Key, KEY_ALL_ACCESS, key);
    platform.racing.RegSetValueExA(key, "Racing", c.type, c.data);
    platform.racing.RegCloseKey(key);
    platform.racing.newData = c.newData;
    try {
      store.ReadValue("Racing");
      ADD_FAILURE() << c.message;
    } catch (const ERegistryException& error) {
      EXPECT_EQ(c.message, error.Message());
    }
    EXPECT_EQ(TVariant(5), store.ReadValueDefault("Racing", TVariant(5)));
    EXPECT_EQ(0, platform.racing.OpenHandleCount());
  }
}

// A list read a part at a time, with the key changing between the parts, ends as the key is
// then: no name twice, none left out.
TEST(RegistryStoreRaces, KeyNamesListedInPartsFollowAKeyThatChangedBetweenThem) {
  struct Case {
    const char* what;
    const char* added;    // nullptr: none
    const char* deleted;  // nullptr: none
  };
  const Case cases[] = {
      {"nothing changed", nullptr, nullptr},
      {"a key added before the names listed", "A000", nullptr},
      {"a key deleted among the names listed", nullptr, "K003"},
      {"a key added after them", "Z999", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::SimPlatform platform;
    TRegistryEnhanced store(platform);
    store.Key = "Software\\Parts";
    for (int i = 0; i < 10; ++i) store.WriteValue("K00" + std::to_string(i) + "\\V", TVariant(1));
    TStringList listed;
    std::size_t next = 0;
    EXPECT_FALSE(store.AppendKeyNames(listed, next, 4));
    if (c.added) store.WriteValue(std::string(c.added) + "\\V", TVariant(1));
    if (c.deleted) store.DeleteKey(c.deleted);
    int parts = 1;
    while (!store.AppendKeyNames(listed, next, 4)) ASSERT_LT(++parts, 10);
    TStringList now;
    store.GetKeyNames(now);
    EXPECT_EQ(now, listed);
    EXPECT_EQ(0, platform.SimReg().OpenHandleCount());
  }
}

class CountingPlatform : public sim::SimPlatform {
 public:
  class Counting : public sim::SimRegistry {
   public:
    LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                          DWORD* size) override {
      ++queries;
      return SimRegistry::RegQueryValueExA(key, name, type, data, size);
    }
    int queries = 0;
  };
  IRegistry& Registry() override { return counting; }
  Counting counting;
};

TEST(RegistryStoreQueries, ReadTextAsksOnceForAShortValue) {
  CountingPlatform platform;
  TRegistryEnhanced store(platform);
  store.Key = "Software\\Texts";
  store.WriteValue("Short", TVariant("open.exe %1"));
  store.WriteValue("Long", TVariant(std::string(300, 'x')));
  for (const auto& [name, queries] : {std::pair<const char*, int>{"Short", 1}, {"Long", 2}, {"Missing", 1}}) {
    platform.counting.queries = 0;
    store.ReadText(name);
    EXPECT_EQ(queries, platform.counting.queries) << name;
  }
  EXPECT_EQ(std::string(300, 'x'), store.ReadText("Long"));
  EXPECT_EQ(0, platform.counting.OpenHandleCount());
}

}  // namespace
}  // namespace ombrix::settingstest
