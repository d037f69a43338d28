#pragma once

// Our own update service: the update information document, version comparison, the record of
// the last check, and the download address with its query. No network here (see UpdateCheck).
//
// The document is JSON:
//   {"product": "Pictavo", "version": "1.2.0",
//    "download": "https://.../download?product=pictavo", "details": "https://.../history",
//    "changes": [{"kind": 0, "text": "..."}, ...]}
// kind 0 new feature or improvement, 1 changed behaviour, 2 fix.

#include <QByteArray>
#include <QDate>
#include <string>
#include <vector>

namespace pictavo::app::UpdatesFuncs {

struct UPDATEITEM {
  int kind = 0;
  std::string description;
};

struct UpdatesInformation {
  std::string productName;
  std::string version;
  std::string downloadUrl;
  std::string detailsUrl;
  std::vector<UPDATEITEM> items;
};

// The maker's web site, the only host the update address may name unless agreed otherwise.
inline constexpr const char* kUpdateServerHost = "www.ostrel.example";
inline constexpr const char* kDefaultCheckForUpdatesUrl =
    "https://www.ostrel.example/updates/pictavo.json";
// Replaces the address (tests, packagers); only such an address may name another host or use
// plain HTTP.
inline constexpr const char* kUpdateUrlVariable = "PICTAVO_UPDATE_URL";

// The address of the update information: the environment variable's value when it is set, else
// the built-in address.
std::string GetCheckForUpdatesUrl();
// Non-zero when the address may name another host (and plain HTTP): only an address given by
// the environment variable.
int GetAgreeIgnoreServer();

// False for anything but a JSON object with a product name and a version made of numbers.
bool ParseUpdatesInformation(const QByteArray& document, UpdatesInformation* info);

// Dotted numeric parts compared as numbers, missing parts as 0 ("1.10" > "1.9", "2" == "2.0").
// Text after the digits of a part is ignored. -1, 0 or 1.
int CompareVersions(const std::string& a, const std::string& b);
// True when newest is newer than running.
bool CheckForUpdates(const std::string& newest, const std::string& running);
bool IsVersionText(const std::string& version);

// The date of the last successful check, "yyyy-MM-dd", from the profile file at path; empty
// when none is stored.
std::string LoadCheckForUpdatesDate(const std::string& path);
bool SaveCheckForUpdatesDate(const std::string& path, const QDate& date);
// True when at least days have passed since checkedDate (an unreadable date counts as due).
bool IsDateIntervalCheckForUpdates(const std::string& checkedDate, int days, const QDate& today);

// True when url names host (letter case ignored).
bool IsServerMatch(const std::string& url, const std::string& host);
// The download address with "&version=<1>&edition=<2>&os=<3>" filled with encoded values; an
// empty address stays empty.
std::string GetDownloadUrlWithQuery(const std::string& downloadUrl, const std::string& version,
                                    const std::string& edition, const std::string& os);

}  // namespace pictavo::app::UpdatesFuncs
