#include "app/UpdatesFuncs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <cstdlib>

#include "core/FileUtils.h"
#include "core/Profile.h"

namespace pictavo::app::UpdatesFuncs {

namespace {

constexpr const char* kSection = "Update";
constexpr const char* kDateKey = "CheckedDate";
constexpr const char* kDateFormat = "yyyy-MM-dd";
// Keeps a hostile answer from filling the list without end.
constexpr int kMaxItems = 500;

std::vector<long long> VersionParts(const std::string& version) {
  std::vector<long long> parts;
  for (const QString& part : QString::fromStdString(version).split(QLatin1Char('.'))) {
    long long value = 0;
    for (const QChar c : part) {
      if (!c.isDigit() || c.unicode() > '9') break;
      value = std::min(value * 10 + (c.unicode() - '0'), 1'000'000'000LL);
    }
    parts.push_back(value);
  }
  while (!parts.empty() && parts.back() == 0) parts.pop_back();
  return parts;
}

QString Encode(const std::string& text) {
  return QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(text)));
}

}  // namespace

namespace {

const char* UrlFromEnvironment() {
  const char* value = std::getenv(kUpdateUrlVariable);
  return value && *value ? value : nullptr;
}

}  // namespace

std::string GetCheckForUpdatesUrl() {
  const char* fromEnvironment = UrlFromEnvironment();
  return fromEnvironment ? fromEnvironment : kDefaultCheckForUpdatesUrl;
}

int GetAgreeIgnoreServer() {
  return UrlFromEnvironment() ? 1 : 0;
}

bool IsVersionText(const std::string& version) {
  static const QRegularExpression pattern(QStringLiteral("^\\d+(\\.\\d+)*$"));
  return pattern.match(QString::fromStdString(version)).hasMatch();
}

bool ParseUpdatesInformation(const QByteArray& document, UpdatesInformation* info) {
  QJsonParseError error{};
  const QJsonDocument json = QJsonDocument::fromJson(document, &error);
  if (error.error != QJsonParseError::NoError || !json.isObject()) return false;
  const QJsonObject root = json.object();
  UpdatesInformation read;
  read.productName = root.value(QStringLiteral("product")).toString().toStdString();
  read.version = root.value(QStringLiteral("version")).toString().toStdString();
  read.downloadUrl = root.value(QStringLiteral("download")).toString().toStdString();
  read.detailsUrl = root.value(QStringLiteral("details")).toString().toStdString();
  if (read.productName.empty() || !IsVersionText(read.version)) return false;
  for (const QJsonValue& value : root.value(QStringLiteral("changes")).toArray()) {
    if (static_cast<int>(read.items.size()) >= kMaxItems) break;
    const QJsonObject change = value.toObject();
    read.items.push_back({change.value(QStringLiteral("kind")).toInt(-1),
                          change.value(QStringLiteral("text")).toString().toStdString()});
  }
  *info = std::move(read);
  return true;
}

int CompareVersions(const std::string& a, const std::string& b) {
  const std::vector<long long> left = VersionParts(a);
  const std::vector<long long> right = VersionParts(b);
  for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
    const long long l = i < left.size() ? left[i] : 0;
    const long long r = i < right.size() ? right[i] : 0;
    if (l != r) return l < r ? -1 : 1;
  }
  return 0;
}

bool CheckForUpdates(const std::string& newest, const std::string& running) {
  return CompareVersions(newest, running) > 0;
}

std::string LoadCheckForUpdatesDate(const std::string& path) {
  Profile profile;
  if (!FileUtils::FileExists(path) || !profile.Load(path)) return {};
  return profile.GetString(kSection, kDateKey, "");
}

bool SaveCheckForUpdatesDate(const std::string& path, const QDate& date) {
  FileUtils::CreateFolderPathExists(FileUtils::GetSplitDirPath(path));
  Profile profile = Profile::FromText("; " + FileUtils::GetSplitFileName(path) + "\r\n");
  profile.WriteString(kSection, kDateKey,
                      date.toString(QString::fromLatin1(kDateFormat)).toStdString());
  return profile.SaveAs(path);
}

bool IsDateIntervalCheckForUpdates(const std::string& checkedDate, int days, const QDate& today) {
  const QDate checked =
      QDate::fromString(QString::fromStdString(checkedDate), QString::fromLatin1(kDateFormat));
  // A date in the future (a clock set back) must not stop checking for good.
  if (!checked.isValid() || checked > today) return true;
  return checked.daysTo(today) >= days;
}

bool IsServerMatch(const std::string& url, const std::string& host) {
  const QUrl parsed(QString::fromStdString(url));
  return parsed.isValid() &&
         parsed.host().compare(QString::fromStdString(host), Qt::CaseInsensitive) == 0;
}

std::string GetDownloadUrlWithQuery(const std::string& downloadUrl, const std::string& version,
                                    const std::string& edition, const std::string& os) {
  if (downloadUrl.empty()) return downloadUrl;
  QString url =
      QString::fromStdString(downloadUrl) + QStringLiteral("&version=<1>&edition=<2>&os=<3>");
  url.replace(QStringLiteral("<1>"), Encode(version));
  url.replace(QStringLiteral("<2>"), Encode(edition));
  url.replace(QStringLiteral("<3>"), Encode(os));
  return url.toStdString();
}

}  // namespace pictavo::app::UpdatesFuncs
