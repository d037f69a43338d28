#include "app/OptionsGeneralDlg.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {
constexpr int kMinHistory = 1;
constexpr int kMaxHistory = 16;
}  // namespace

COptionsGeneralDlg::COptionsGeneralDlg(const Settings& settings, std::function<void()> clearHistory,
                                       QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.General),
      m_clearHistoryCallback(std::move(clearHistory)),
      m_startup(new QComboBox(this)),
      m_address(new QLineEdit(this)),
      m_history(nullptr),
      m_clearHistory(new QPushButton(QStringLiteral("履歴のクリア(&H)"), this)) {
  m_startup->addItems(OptionsRules::StartupAddressRows());
  m_startup->setCurrentIndex(m_values.StartupAddress);  // out of range: no selection
  m_address->setText(QString::fromStdString(m_values.Address));
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
  CUpDownCtrl* upDown = nullptr;
  m_history = MakeIntegerEdit(kMinHistory, kMaxHistory, &upDown);
  m_history->setText(QString::number(m_values.AddressHistory));

  auto* startupGroup = new QGroupBox(this);
  auto* startupGrid = new QGridLayout(startupGroup);
  startupGrid->addWidget(MakeLabel(QStringLiteral("起動するとき(&T):"), m_startup), 0, 0);
  startupGrid->addWidget(m_startup, 0, 1, 1, 2);
  startupGrid->addWidget(MakeLabel(QStringLiteral("フォルダー(&O):"), m_address), 1, 0);
  startupGrid->addWidget(m_address, 1, 1);
  startupGrid->addWidget(browse, 1, 2);
  startupGrid->setColumnStretch(1, 1);

  auto* historyGroup = new QGroupBox(this);
  auto* historyGrid = new QGridLayout(historyGroup);
  historyGrid->addWidget(
      MakeLabel(QStringLiteral("フォルダーパスを履歴に保持する数(&K):"), m_history), 0, 0);
  historyGrid->addLayout(Pair(m_history, upDown), 0, 1);
  historyGrid->addWidget(m_clearHistory, 1, 0, 1, 2, Qt::AlignLeft);
  historyGrid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(startupGroup);
  layout->addWidget(historyGroup);
  layout->addStretch(1);

  connect(browse, &QPushButton::clicked, this, &COptionsGeneralDlg::OnBrowse);
  connect(m_clearHistory, &QPushButton::clicked, this, [this] {
    if (m_clearHistoryCallback) m_clearHistoryCallback();
  });
}

void COptionsGeneralDlg::OnBrowse() {
  const QString folder = QFileDialog::getExistingDirectory(
      this, QString::fromStdString(StringUtils::GetLoadString(StringId::SelectStartupFolder)),
      m_address->text());
  if (!folder.isEmpty()) m_address->setText(folder);
}

bool COptionsGeneralDlg::IsValid() {
  return ValidateEnabled({m_history});
}

void COptionsGeneralDlg::OnOK(Settings& settings) {
  // A value the list does not have shows no row; it is kept rather than stored as -1.
  if (m_startup->currentIndex() >= 0) m_values.StartupAddress = m_startup->currentIndex();
  m_values.Address = m_address->text().toStdString();
  m_values.AddressHistory = ReadInteger(m_history, m_values.AddressHistory);
  settings.General = m_values;
}

}  // namespace pictavo::app
