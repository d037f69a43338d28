#include "app/OptionsOutputDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

QIcon FindIcon(const std::string& icon) {
  const QString name = QString::fromStdString(icon);
  if (name.isEmpty()) return QIcon();
  if (name.startsWith(QLatin1Char('/'))) {
    return QFileInfo(name).isFile() ? QIcon(name) : QIcon();
  }
  return QIcon::fromTheme(name);
}

}  // namespace

bool COptionsOutputDlg::HasRow(const BrowserFuncs::APPITEM& item) {
  return !item.program.empty() || !FindIcon(item.icon).isNull();
}

COptionsOutputDlg::COptionsOutputDlg(const Settings& settings,
                                     std::vector<BrowserFuncs::APPITEM> browsers, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.Output),
      m_showOutputSettings(new QCheckBox(QStringLiteral("出力先の設定を表示する(&H)"), this)),
      m_openFile(new QCheckBox(QStringLiteral("出力後にファイルを開く(&O)"), this)),
      m_program{new QRadioButton(QStringLiteral("既定のプログラムで開く(&D)"), this),
                new QRadioButton(QStringLiteral("Web ブラウザーを指定して開く(&S)"), this)},
      m_browser(new QComboBox(this)) {
  QLabel* fileNameLabel = nullptr;
  QLabel* folderNameLabel = nullptr;
  QLabel* locationLabel = nullptr;
  m_fileName = MakeRequiredEdit(QStringLiteral("既定のファイル名(&N):"), &fileNameLabel);
  m_folderName = MakeRequiredEdit(QStringLiteral("既定のフォルダー名(&F):"), &folderNameLabel);
  m_location = MakeRequiredEdit(QStringLiteral("既定のファイルの場所(&L):"), &locationLabel);
  m_browserLabel = MakeLabel(QStringLiteral("Web ブラウザー選択(&W):"), m_browser);
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
  auto* programGroup = new QButtonGroup(this);
  programGroup->addButton(m_program[0], 0);
  programGroup->addButton(m_program[1], 1);

  m_fileName->setText(QString::fromStdString(m_values.FileName));
  m_folderName->setText(QString::fromStdString(m_values.FolderName));
  m_location->setText(QString::fromStdString(m_values.Location));
  m_showOutputSettings->setChecked(m_values.ShowOutputSettings != 0);
  m_openFile->setChecked(m_values.OpenFile != 0);
  if (m_values.OpenFileProgram == 0 || m_values.OpenFileProgram == 1) {
    m_program[m_values.OpenFileProgram]->setChecked(true);
  }

  const QIcon fallback = style()->standardIcon(QStyle::SP_DesktopIcon);
  for (BrowserFuncs::APPITEM& item : browsers) {
    if (!HasRow(item)) continue;
    const QIcon icon = FindIcon(item.icon);
    m_browser->addItem(icon.isNull() ? fallback : icon, QString::fromStdString(item.name));
    m_rows.push_back(std::move(item));
  }
  m_browser->setCurrentIndex(BrowserFuncs::FindBrowserRow(m_rows, m_values.OpenProgramKey));

  auto* group = new QGroupBox(QStringLiteral("出力情報"), this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(fileNameLabel, 0, 0);
  grid->addWidget(m_fileName, 0, 1, 1, 2);
  grid->addWidget(folderNameLabel, 1, 0);
  grid->addWidget(m_folderName, 1, 1, 1, 2);
  grid->addWidget(locationLabel, 2, 0);
  grid->addWidget(m_location, 2, 1);
  grid->addWidget(browse, 2, 2);
  grid->addWidget(m_showOutputSettings, 3, 0, 1, 3);
  grid->addWidget(m_openFile, 4, 0, 1, 3);
  auto* radios = new QVBoxLayout;
  radios->setContentsMargins(20, 0, 0, 0);
  radios->addWidget(m_program[0]);
  radios->addWidget(m_program[1]);
  auto* browserRow = new QHBoxLayout;
  browserRow->setContentsMargins(20, 0, 0, 0);
  browserRow->addWidget(m_browserLabel);
  browserRow->addWidget(m_browser, 1);
  radios->addLayout(browserRow);
  grid->addLayout(radios, 5, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addStretch(1);

  connect(browse, &QPushButton::clicked, this, &COptionsOutputDlg::OnBrowse);
  connect(m_openFile, &QCheckBox::toggled, this, &COptionsOutputDlg::UpdateEnabling);
  connect(m_program[1], &QRadioButton::toggled, this, &COptionsOutputDlg::UpdateEnabling);
  UpdateEnabling();
}

void COptionsOutputDlg::UpdateEnabling() {
  const bool openFile = m_openFile->isChecked();
  const bool radios = OptionsRules::AreOpenProgramRadiosEnabled(openFile);
  m_program[0]->setEnabled(radios);
  m_program[1]->setEnabled(radios);
  const bool browser =
      OptionsRules::IsBrowserComboEnabled(openFile, m_program[1]->isChecked() ? 1 : 0);
  m_browserLabel->setEnabled(browser);
  m_browser->setEnabled(browser);
}

void COptionsOutputDlg::OnBrowse() {
  const QString folder = QFileDialog::getExistingDirectory(
      this, QString::fromStdString(StringUtils::GetLoadString(StringId::SelectOutputFolder)),
      m_location->text());
  if (!folder.isEmpty()) m_location->setText(folder);
}

void COptionsOutputDlg::ReadBrowser() {
  const int row = m_browser->currentIndex();
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return;  // empty list: unchanged
  m_values.OpenProgramApps = m_rows[row].apps;
  m_values.OpenProgramKey = m_rows[row].key;
  m_values.OpenProgram = m_rows[row].program;
}

bool COptionsOutputDlg::IsValid() {
  if (!ValidateEnabled({m_fileName, m_folderName, m_location})) return false;
  ReadBrowser();
  return true;
}

void COptionsOutputDlg::OnOK(Settings& settings) {
  m_values.FileName = m_fileName->text().toStdString();
  m_values.FolderName = m_folderName->text().toStdString();
  m_values.Location = m_location->text().toStdString();
  m_values.ShowOutputSettings = m_showOutputSettings->isChecked() ? 1 : 0;
  m_values.OpenFile = m_openFile->isChecked() ? 1 : 0;
  if (m_program[0]->isChecked()) m_values.OpenFileProgram = 0;
  if (m_program[1]->isChecked()) m_values.OpenFileProgram = 1;
  ReadBrowser();
  settings.Output = m_values;
}

}  // namespace pictavo::app
