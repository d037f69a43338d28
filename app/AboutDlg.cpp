#include "app/AboutDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <thread>

#include "app/SystemUtils.h"
#include "app/VersionUtils.h"
#include "core/ShellUtils.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

constexpr int kIdSiteAddress = 11011;
constexpr int kIdLinkFormat = 11012;  // "<a href="%s">%s</a>"
constexpr int kTitlePixelSize = 20;
constexpr int kIconSize = 48;

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

QString FillTwice(const std::string& format, const QString& value) {
  QString text = ToQt(format);
  const QString escaped = value.toHtmlEscaped();
  for (int i = 0; i < 2; ++i) {
    const qsizetype at = text.indexOf(QStringLiteral("%s"));
    if (at >= 0) text.replace(at, 2, escaped);
  }
  return text;
}

QLabel* Value(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(ToQt(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QGroupBox* Group(const QString& title, const QString& label1, const std::string& value1,
                 const QString& label2, const std::string& value2, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* form = new QFormLayout(group);
  form->addRow(label1, Value(value1, group));
  form->addRow(label2, Value(value2, group));
  return group;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("バージョン情報"));
  const std::string product = VersionUtils::GetProductName();

  auto* header = new QHBoxLayout;
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) {
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(kIconSize, kIconSize));
    header->addWidget(picture);
  }
  auto* title = new QLabel(ToQt(product), this);
  QFont titleFont = title->font();
  titleFont.setPixelSize(kTitlePixelSize);
  title->setFont(titleFont);
  header->addWidget(title, 1);

  auto* products =
      Group(QStringLiteral("製品情報"), QStringLiteral("製品:"), product,
            QStringLiteral("製品バージョン:"), VersionUtils::GetStringProductVersion(), this);
  auto* system = Group(QStringLiteral("システム情報"), QStringLiteral("OS:"),
                       SystemUtils::GetWindowsVersionString(), QStringLiteral("OS バージョン:"),
                       SystemUtils::GetOSVersion(), this);

  const QString site = ToQt(StringUtils::GetLoadString(kIdSiteAddress));
  auto* link = new QLabel(FillTwice(StringUtils::GetLoadString(kIdLinkFormat), site), this);
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::TextBrowserInteraction);
  link->setOpenExternalLinks(false);
  connect(link, &QLabel::linkActivated, this, [](const QString& address) {
    // The opener may wait for the browser; the box stays responsive meanwhile.
    std::thread([target = address.toStdString()] {
      ShellUtils::OpenWithDesktop(target, nullptr);
    }).detach();
  });

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* footer = new QHBoxLayout;
  footer->addWidget(link, 1);
  footer->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(header);
  layout->addWidget(products);
  layout->addWidget(system);
  layout->addLayout(footer);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumWidth(380);
}

void ShowAboutDialog(QWidget* parent) {
  CAboutDlg dialog(parent);
  dialog.exec();
}

}  // namespace pictavo::app
