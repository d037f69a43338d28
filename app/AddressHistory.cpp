#include "app/AddressHistory.h"

#include <QString>
#include <QStringList>
#include <algorithm>

#include "core/FileUtils.h"
#include "core/Profile.h"

namespace pictavo::app {

namespace {

constexpr const char* kSection = "Recent File List";
// Longer values are cut as the profile reads of the original did.
constexpr int kMaxValueChars = 259;

bool SameText(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

std::string ReadValue(const Profile& profile, const std::string& key) {
  const QString value = QString::fromStdString(profile.GetString(kSection, key, ""));
  return value.left(kMaxValueChars).toStdString();
}

}  // namespace

bool AddressHistory::Load(const std::string& path) {
  m_entries.clear();
  m_lastFile.clear();
  if (!FileUtils::FileExists(path)) return false;
  Profile profile;
  if (!profile.Load(path)) return false;
  m_lastFile = ReadValue(profile, "Last File");
  const int count = profile.GetInt(kSection, "Count", 0);
  for (int i = 1; i <= count && i <= 1000; ++i) {
    const std::string entry = ReadValue(profile, "File" + std::to_string(i));
    if (!entry.empty() && FileUtils::FileExists(entry) && Find(entry) < 0)
      m_entries.push_back(entry);
  }
  return true;
}

bool AddressHistory::Save(const std::string& path, const std::string& lastFile) const {
  FileUtils::CreateFolderPathExists(FileUtils::GetSplitDirPath(path));
  Profile profile = Profile::FromText("; " + FileUtils::GetSplitFileName(path) + "\r\n");
  profile.WriteString(kSection, "Last File", lastFile);
  profile.WriteInt(kSection, "Count", static_cast<int>(m_entries.size()));
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    profile.WriteString(kSection, "File" + std::to_string(i + 1), m_entries[i]);
  return profile.SaveAs(path);
}

void AddressHistory::Add(const std::string& text, int limit) {
  if (text.empty()) return;
  if (const int old = Find(text); old >= 0) m_entries.erase(m_entries.begin() + old);
  m_entries.insert(m_entries.begin(), text);
  const std::size_t keep = static_cast<std::size_t>(std::max(limit, 0));
  if (m_entries.size() > keep) m_entries.resize(keep);
}

int AddressHistory::Find(const std::string& text) const {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    if (SameText(m_entries[i], text)) return static_cast<int>(i);
  return -1;
}

std::string FormatWindowPos(const WindowPos& pos) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += (i ? "," : "") + std::to_string(pos.values[i]);
  return text;
}

bool ParseWindowPos(const std::string& text, WindowPos* pos) {
  const QStringList parts = QString::fromStdString(text).split(QLatin1Char(','));
  if (parts.size() != 10) return false;
  WindowPos read;
  for (int i = 0; i < 10; ++i) {
    bool ok = false;
    read.values[i] = parts[i].trimmed().toInt(&ok);
    if (!ok) return false;
  }
  if (read.values[1] != WindowPos::kShowMaximized) read.values[1] = WindowPos::kShowNormal;
  *pos = read;
  return true;
}

}  // namespace pictavo::app
