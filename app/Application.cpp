#include "app/Application.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>

#include "album/OutputSettingsModel.h"
#include "app/AppServices.h"
#include "app/PictavoDlg.h"
#include "core/Host.h"
#include "core/ShellUtils.h"

namespace pictavo::app {

namespace {

// A plain host until the full one (its dialogs, progress windows and instance control) lands.
class QtPump final : public Pump {
 public:
  bool PumpMessages() override {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return !m_quit;
  }
  bool m_quit = false;
};

class QtProgress final : public ProgressWindow {
 public:
  QtProgress() {
    m_dialog.setWindowTitle(QStringLiteral("Pictavo"));
    m_dialog.setRange(0, 0);
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.setCancelButtonText(QStringLiteral("キャンセル"));
  }
  void Show() override { m_dialog.show(); }
  void Hide() override { m_dialog.hide(); }
  void Destroy() override {
    m_destroyed = true;
    m_dialog.hide();
  }
  void SetText(int line, const std::string& text) override {
    m_lines[line == 0 ? 0 : 1] = QString::fromStdString(text);
    m_dialog.setLabelText(m_lines[0] + QStringLiteral("\n") + m_lines[1]);
  }
  void SetRange(int lower, int upper) override { m_dialog.setRange(lower, upper); }
  void SetPos(int pos) override { m_dialog.setValue(pos); }
  bool IsCancelled() const override { return m_dialog.wasCanceled(); }
  bool IsDestroyed() const override { return m_destroyed || m_dialog.wasCanceled(); }

 private:
  QProgressDialog m_dialog;
  QString m_lines[2];
  bool m_destroyed = false;
};

class SimpleQtHost final : public Host {
 public:
  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons) override {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Pictavo"));
    box.setText(QString::fromStdString(text));
    box.setIcon(icon == MessageIcon::Error         ? QMessageBox::Critical
                : icon == MessageIcon::Warning     ? QMessageBox::Warning
                : icon == MessageIcon::Question    ? QMessageBox::Question
                : icon == MessageIcon::Information ? QMessageBox::Information
                                                   : QMessageBox::NoIcon);
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == MessageButtons::OkCancel) standard = QMessageBox::Ok | QMessageBox::Cancel;
    if (buttons == MessageButtons::YesNo) standard = QMessageBox::Yes | QMessageBox::No;
    if (buttons == MessageButtons::YesNoCancel)
      standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    box.setStandardButtons(standard);
    switch (box.exec()) {
      case QMessageBox::Yes:
        return MessageResult::Yes;
      case QMessageBox::No:
        return MessageResult::No;
      case QMessageBox::Cancel:
        return MessageResult::Cancel;
      default:
        return MessageResult::Ok;
    }
  }
  bool ShowOutputSettings(OutputSettingsValues& values) override {
    for (;;) {
      bool ok = false;
      const QString name =
          QInputDialog::getText(QApplication::activeWindow(), QStringLiteral("出力先の設定"),
                                QString::fromUtf8(OutputSettingsModel::kFolderNameLabel),
                                QLineEdit::Normal, QString::fromStdString(values.folderName), &ok);
      if (!ok) return false;
      values.folderName = name.toStdString();
      const OutputSettingsModel::OkCheck check = OutputSettingsModel::CheckOk(values);
      if (check.accepted) return true;
      ShowMessage(check.message, check.icon, MessageButtons::Ok);
    }
  }
  bool OpenWithDesktop(const std::string& target, std::string* error) override {
    return ShellUtils::OpenWithDesktop(target, error);
  }
  bool OpenWithProgram(const std::string& program, const std::string& target,
                       std::string* error) override {
    return ShellUtils::OpenWithProgram(program, target, error);
  }
  void SetClipboardText(const std::string& text) override {
    QApplication::clipboard()->setText(QString::fromStdString(text));
  }
  std::unique_ptr<ProgressWindow> CreateProgressWindow(ProgressKind) override {
    return std::make_unique<QtProgress>();
  }
  Pump& GetPump() override { return m_pump; }

 private:
  QtPump m_pump;
};

}  // namespace

int RunApplication(int argc, char* argv[]) {
  QApplication application(argc, argv);
  SimpleQtHost host;
  AppServices services = AppServices::Defaults();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  services.commandLinePaths = CommandLinePaths(arguments);
  CPictavoDlg window(host, services);
  window.show();
  return application.exec();
}

}  // namespace pictavo::app
