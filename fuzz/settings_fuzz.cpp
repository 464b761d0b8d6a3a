// The settings file on any content: no crash, the lists are loaded only when
// every value has passed its check, and values that were read come back the
// same through the settings text the program writes.
#include "fuzz_support.h"
#include "ground/numbers.h"
#include "ground/settings.h"
#include "ground/text.h"
#include "ground/version.h"

using namespace quorvin;
using namespace quorvin::fuzz;

namespace {

bool IsDigits(const std::string& value, size_t length) {
  if (value.size() != length) return false;
  for (char c : value)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ReadWithoutFailure(const QuietDialogs& dialogs) {
  for (const ShownBox& box : dialogs.shown)
    if (box.title == kAppTitle) return false;
  return true;
}

Settings Load(QuietDialogs& dialogs, std::string_view text, bool& listsLoaded, int& windowShown) {
  Settings settings;
  listsLoaded = false;
  windowShown = 0;
  LoadSettingsResult result = LoadSettings(
      dialogs, WriteScratchFile(kSettingsFileName, text), settings, [&] { ++windowShown; },
      [&] { listsLoaded = true; });
  if (listsLoaded) FUZZ_CHECK(result == LoadSettingsResult::Continue, "");
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietDialogs dialogs;
  bool listsLoaded = false;
  int windowShown = 0;
  Settings settings = Load(dialogs, AsText(data, size), listsLoaded, windowShown);
  if (listsLoaded) {
    FUZZ_CHECK(IsDigits(settings.BrokerID, 6), settings.BrokerID);
    FUZZ_CHECK(IsDigits(settings.ClearingBOID, 16), settings.ClearingBOID);
    FUZZ_CHECK(IsDigits(settings.DefaultBOIDFormat, 16), settings.DefaultBOIDFormat);
    FUZZ_CHECK(EndsWith(settings.BackupLocation, "/"), settings.BackupLocation);
  }
  if (!ReadWithoutFailure(dialogs)) return 0;
  FUZZ_CHECK(settings.BackupLocation.empty() || EndsWith(settings.BackupLocation, "/"),
             settings.BackupLocation);

  // What the settings window would write back for these values.
  QuietDialogs again;
  bool listsAgain = false;
  int windowAgain = 0;
  Settings reread = Load(again, SettingsText(settings), listsAgain, windowAgain);
  FUZZ_CHECK(ReadWithoutFailure(again), again.shown.front().text);
  FUZZ_CHECK(reread.BrokerID == settings.BrokerID, reread.BrokerID);
  FUZZ_CHECK(reread.ClearingBOID == settings.ClearingBOID, reread.ClearingBOID);
  FUZZ_CHECK(reread.DefaultBOIDFormat == settings.DefaultBOIDFormat, reread.DefaultBOIDFormat);
  FUZZ_CHECK(reread.BackupLocation == WithTrailingSlash(settings.BackupLocation),
             reread.BackupLocation);
  // An empty location is read back as "/", a folder that exists; any other
  // must be judged the same both times.
  if (!settings.BackupLocation.empty())
    FUZZ_CHECK(listsAgain == listsLoaded && windowAgain == windowShown, "");
  return 0;
}
