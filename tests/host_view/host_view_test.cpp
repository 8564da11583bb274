// The extension as the host sees it: the checks of host_view.c, written in C from the interface, run
// against the built extension.
#include <gtest/gtest.h>

#include <string>

#include "tests/host_view/host_view.h"

namespace {

#ifdef _WIN32
const wchar_t* extensionPath() {
  static const std::wstring path = [] {
    std::string narrow = NIMBO_EXTENSION_PATH;
    return std::wstring(narrow.begin(), narrow.end());
  }();
  return path.c_str();
}
#else
const char* extensionPath() {
  return NIMBO_EXTENSION_PATH;
}
#endif

using Check = int (*)(const void*, char*, size_t);

void expectHolds(Check check) {
  char failure[512] = "";
  EXPECT_EQ(check(extensionPath(), failure, sizeof failure), 0) << failure;
}

}  // namespace

TEST(HostView, TheTextValueAnswersItsTypeClonesComparesAndReleasesThroughTheHostsSlots) {
  expectHolds(hvCheckTextValues);
}

TEST(HostView, SetPropValueReadsAHostMadeValueThroughSlotFourOnly) {
  expectHolds(hvCheckHostValueReadThroughSlot4);
}

TEST(HostView, RunTimeRecordsRoutinesAndServicesMeetTheHostsLayoutAndConventions) {
  expectHolds(hvCheckRunTimeRecords);
}
