#include "support/WindowTestHost.h"

#include "album/OutputSettingsModel.h"
#include "items/BuildItem.h"

namespace pictavo::testing {

namespace {

// A progress window that is either cancelled from the start or never.
class QuietProgress final : public ProgressWindow {
 public:
  explicit QuietProgress(bool cancelled) : m_cancelled(cancelled) {}
  void Show() override {}
  void Hide() override {}
  void Destroy() override { m_destroyed = true; }
  void SetText(int, const std::string&) override {}
  void SetRange(int, int) override {}
  void SetPos(int) override {}
  bool IsCancelled() const override { return m_cancelled; }
  bool IsDestroyed() const override { return m_destroyed || m_cancelled; }

 private:
  bool m_cancelled;
  bool m_destroyed = false;
};

}  // namespace

MessageResult WindowTestHost::ShowMessage(const std::string& text, MessageIcon,
                                          MessageButtons buttons) {
  m_messages.push_back(text);
  if (!m_answers.empty()) {
    const MessageResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
  }
  return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel
             ? MessageResult::Yes
             : MessageResult::Ok;
}

bool WindowTestHost::ShowOutputSettings(OutputSettingsValues& values) {
  m_proposals.push_back(values);
  if (!m_scripted) return OutputSettingsModel::CheckOk(values).accepted;
  while (!m_folderNames.empty()) {
    values.folderName = m_folderNames.front();
    m_folderNames.pop_front();
    const OutputSettingsModel::OkCheck check = OutputSettingsModel::CheckOk(values);
    if (check.accepted) return true;
    m_messages.push_back(check.message);
  }
  return false;
}

std::unique_ptr<ProgressWindow> WindowTestHost::CreateProgressWindow(ProgressKind kind) {
  m_progressKinds.push_back(kind);
  return std::make_unique<QuietProgress>(m_cancelScans && kind == ProgressKind::InsertFiles);
}

app::AppServices TestServices(const std::string& folder) {
  app::AppServices services;
  services.settingsFilePath = folder + "/Pictavo.ini";
  services.historyFilePath = folder + "/History.ini";
  services.toolbarsFilePath = folder + "/Toolbars.ini";
  services.previewRootPath = folder + "/Preview";
  services.itemBuilder = BuildAlbumItem;
  return services;
}

}  // namespace pictavo::testing
