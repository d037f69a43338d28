#include "app/QtHost.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <functional>
#include <future>

#include "app/OutputSettingsDlg.h"
#include "core/ShellUtils.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIdApplicationTitle = 57344;  // "Pictavo"
constexpr int kProgressTextWidth = 360;     // the lines are elided to this width

QString LoadString(int id) {
  return QString::fromStdString(StringUtils::GetLoadString(id));
}

// Message texts carry CR LF line ends; a Qt label wants LF.
QString ToDisplayText(const std::string& text) {
  QString display = QString::fromStdString(text);
  display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return display;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

// Runs a blocking opener off the GUI thread and keeps the windows painted meanwhile; user input
// waits, so nothing re-enters the command that opens.
bool OpenWithoutFreezing(const std::function<bool(std::string*)>& open, std::string* error) {
  std::string text;
  auto done = std::async(std::launch::async, [&] { return open(&text); });
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  const bool opened = done.get();
  if (!opened && error != nullptr) *error = text;
  return opened;
}

// The core's handle of a progress window. The cancelled and destroyed flags live here, so they
// keep answering after the window has deleted itself.
class QtProgressWindow final : public ProgressWindow {
 public:
  explicit QtProgressWindow(CProgressDlg* dialog)
      : m_dialog(dialog), m_state(std::make_shared<State>()) {
    const std::shared_ptr<State> state = m_state;
    QObject::connect(dialog, &CProgressDlg::Cancelled, [state] {
      state->cancelled = true;
      state->destroyed = true;  // the window is gone for the caller from this moment
    });
    QObject::connect(dialog, &QObject::destroyed, [state] { state->destroyed = true; });
  }
  ~QtProgressWindow() override { delete m_dialog.data(); }

  void Show() override {
    if (m_dialog != nullptr) m_dialog->ShowCentred();
  }
  void Hide() override {
    if (m_dialog != nullptr) m_dialog->hide();
  }
  void Destroy() override {
    m_state->destroyed = true;
    delete m_dialog.data();
  }
  void SetText(int line, const std::string& text) override {
    if (m_dialog != nullptr) m_dialog->SetText(line, QString::fromStdString(text));
  }
  void SetRange(int lower, int upper) override {
    if (m_dialog != nullptr) m_dialog->SetRange(lower, upper);
  }
  void SetPos(int pos) override {
    if (m_dialog != nullptr) m_dialog->SetPos(pos);
  }
  bool IsCancelled() const override { return m_state->cancelled; }
  bool IsDestroyed() const override { return m_state->destroyed; }

 private:
  struct State {
    bool cancelled = false;
    bool destroyed = false;
  };
  QPointer<CProgressDlg> m_dialog;
  std::shared_ptr<State> m_state;
};

}  // namespace

QtPump::QtPump() {
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::instance()->installEventFilter(this);
}

QtPump::~QtPump() = default;

bool QtPump::PumpMessages() {
  if (!m_quitPending && m_interval.count() > 0 && m_sinceLastPass.isValid() &&
      !m_sinceLastPass.hasExpired(m_interval.count())) {
    return true;
  }
  const int quitsBefore = m_quitsTaken;
  ++m_depth;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  --m_depth;
  m_sinceLastPass.start();
  if (m_quitsTaken == quitsBefore) return true;
  QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
  return false;
}

bool QtPump::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Quit || watched != QCoreApplication::instance()) return false;
  if (m_depth == 0) {
    // Delivered to the main loop (or a modal one): the application handles it from here.
    m_quitPending = false;
    return false;
  }
  ++m_quitsTaken;
  m_quitPending = true;
  return true;
}

CProgressDlg::CProgressDlg(QWidget* owner, const QString& title, const QString& firstLine,
                           const QString& secondLine)
    // No parent widget: a disabled parent would disable the window and its Cancel with it
    // (the main window is disabled during a scan). The owner is its transient parent instead.
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_owner(owner) {
  setWindowTitle(title);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  for (QLabel*& line : m_lines) {
    line = new QLabel(this);
    line->setTextFormat(Qt::PlainText);
    line->setFixedWidth(kProgressTextWidth);
    layout->addWidget(line);
  }
  m_bar = new QProgressBar(this);
  m_bar->setTextVisible(false);
  m_bar->setRange(0, 0);
  layout->addWidget(m_bar);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  m_cancel->setAutoDefault(false);
  buttons->addWidget(m_cancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
  SetText(0, firstLine);
  SetText(1, secondLine);
}

void CProgressDlg::SetText(int line, const QString& text) {
  QLabel* label = m_lines[line <= 0 ? 0 : 1];
  label->setToolTip(text);
  label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, kProgressTextWidth));
  // An unused second line takes no room.
  if (label == m_lines[1]) label->setVisible(!text.isEmpty());
}

QString CProgressDlg::Text(int line) const {
  return m_lines[line <= 0 ? 0 : 1]->toolTip();
}

void CProgressDlg::SetRange(int lower, int upper) {
  // An empty range is the marquee of a step that counts nothing.
  if (upper <= lower) {
    m_bar->setRange(0, 0);
  } else {
    m_bar->setRange(lower, upper);
    m_bar->setValue(lower);
  }
}

void CProgressDlg::SetPos(int pos) {
  if (m_bar->maximum() > m_bar->minimum()) m_bar->setValue(pos);
}

void CProgressDlg::ShowCentred() {
  adjustSize();
  const QWidget* owner = m_owner != nullptr ? m_owner->window() : nullptr;
  QRect area;
  if (owner != nullptr && owner->isVisible()) {
    winId();  // makes the native window, so it can have a transient parent
    if (windowHandle() != nullptr) windowHandle()->setTransientParent(owner->windowHandle());
    area = owner->frameGeometry();
  } else if (const QScreen* shown = screen(); shown != nullptr) {
    area = shown->availableGeometry();
  }
  if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
  show();
  raise();
}

void CProgressDlg::reject() {
  if (m_cancelling) return;
  m_cancelling = true;
  m_bar->setRange(0, 1);  // stops the marquee
  hide();
  emit Cancelled();
  deleteLater();
}

CProgressInsertFilesDlg::CProgressInsertFilesDlg(QWidget* owner)
    : CProgressDlg(owner, QStringLiteral("項目の挿入"),
                   QStringLiteral("項目を挿入しています。お待ちください。"),
                   QStringLiteral("準備しています...")) {}

CProgressItemsDlg::CProgressItemsDlg(QWidget* owner)
    : CProgressDlg(owner, LoadString(kIdApplicationTitle), QStringLiteral("お待ちください。"),
                   QString()) {}

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, const std::string& text,
                                              MessageIcon icon, MessageButtons buttons) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(LoadString(kIdApplicationTitle));
  box->setTextFormat(Qt::PlainText);
  box->setText(ToDisplayText(text));
  box->setIcon(ToQtIcon(icon));
  box->setStandardButtons(ToQtButtons(buttons));
  const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
      {QMessageBox::Yes, "はい"},
      {QMessageBox::No, "いいえ"},
      {QMessageBox::Cancel, "キャンセル"},
      {QMessageBox::Ok, "OK"},
  };
  for (const auto& [button, label] : texts) {
    if (QAbstractButton* shown = box->button(button)) {
      shown->setText(QString::fromUtf8(label));
      shown->setIcon(QIcon());  // plain text buttons, as the program's other dialogs have
    }
  }
  const bool asks = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
  box->setDefaultButton(asks ? QMessageBox::Yes : QMessageBox::Ok);
  return box;
}

MessageResult ToMessageResult(int standardButton, MessageButtons buttons) {
  switch (standardButton) {
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Cancel:
      return MessageResult::Cancel;
    case QMessageBox::Ok:
      return MessageResult::Ok;
    default:
      break;
  }
  // Closed without a button: the answer that does nothing.
  switch (buttons) {
    case MessageButtons::YesNo:
      return MessageResult::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
      return MessageResult::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return MessageResult::Ok;
}

QtHost::QtHost(QWidget* window) : m_window(window) {}

QtHost::~QtHost() = default;

MessageResult QtHost::ShowMessage(const std::string& text, MessageIcon icon,
                                  MessageButtons buttons) {
  // Over a dialog that is open (the output settings dialog), else over the main window.
  QWidget* parent = QApplication::activeModalWidget();
  if (parent == nullptr) parent = m_window;
  const std::unique_ptr<QMessageBox> box = CreateMessageBox(parent, text, icon, buttons);
  return ToMessageResult(box->exec(), buttons);
}

bool QtHost::ShowOutputSettings(OutputSettingsValues& values) {
  COutputSettingsDlg dialog(m_window, *this);
  dialog.SetValues(values);
  if (dialog.exec() != QDialog::Accepted) return false;
  values = dialog.GetValues();
  return true;
}

bool QtHost::OpenWithDesktop(const std::string& target, std::string* error) {
  return OpenWithoutFreezing(
      [&target](std::string* text) { return ShellUtils::OpenWithDesktop(target, text); }, error);
}

bool QtHost::OpenWithProgram(const std::string& program, const std::string& target,
                             std::string* error) {
  return OpenWithoutFreezing(
      [&](std::string* text) { return ShellUtils::OpenWithProgram(program, target, text); }, error);
}

void QtHost::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::unique_ptr<ProgressWindow> QtHost::CreateProgressWindow(ProgressKind kind) {
  CProgressDlg* dialog = nullptr;
  if (kind == ProgressKind::InsertFiles) {
    dialog = new CProgressInsertFilesDlg(m_window);
  } else {
    dialog = new CProgressItemsDlg(m_window);
  }
  return std::make_unique<QtProgressWindow>(dialog);
}

}  // namespace pictavo::app
