#include "app/OutputSettingsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ValidateEdit.h"
#include "core/StringUtils.h"

namespace pictavo::app {

namespace {

using OutputSettingsModel::Field;

constexpr int kIdBrowsePrompt = 10134;  // "出力先フォルダーを選択してください。"
constexpr int kMinimumEditWidth = 300;

// Index of a field's label and edit; the order of the dialog's rows.
int Index(Field field) {
  switch (field) {
    case Field::FolderName:
      return 0;
    case Field::Location:
      return 1;
    case Field::Title:
      return 2;
    case Field::Header:
      return 3;
    case Field::None:
      break;
  }
  return -1;
}

constexpr const char* kLabels[4] = {
    OutputSettingsModel::kFolderNameLabel,
    OutputSettingsModel::kLocationLabel,
    OutputSettingsModel::kTitleLabel,
    OutputSettingsModel::kHeaderLabel,
};

// Control ids of the dialog's resource, kept as object names so tests and tools can find them.
constexpr int kLabelIds[4] = {1121, 1123, 1127, 1129};
constexpr int kEditIds[4] = {1122, 1124, 1128, 1130};

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

COutputSettingsDlg::COutputSettingsDlg(QWidget* parent, Host& host)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_host(host) {
  setWindowTitle(QStringLiteral("出力先の設定"));
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    m_labels[i] = new QLabel(QString::fromUtf8(kLabels[i]), this);
    m_labels[i]->setObjectName(QString::number(kLabelIds[i]));
    m_edits[i] = new CValidateEdit(this);
    m_edits[i]->setObjectName(QString::number(kEditIds[i]));
    m_edits[i]->setMinimumWidth(kMinimumEditWidth);
    m_labels[i]->setBuddy(m_edits[i]);
    // The edit's message comes from the label the user reads.
    m_edits[i]->SetErrorMessage(MakeFieldErrorMessage(m_labels[i]->text()));
  }
  m_browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
  m_browse->setObjectName(QStringLiteral("1125"));
  m_browse->setAutoDefault(false);
  m_preferDetailed = new QCheckBox(QStringLiteral("詳細設定を優先する(&P)"), this);
  m_preferDetailed->setObjectName(QStringLiteral("1126"));

  grid->addWidget(m_labels[0], 0, 0);
  grid->addWidget(m_edits[0], 0, 1, 1, 2);
  grid->addWidget(m_labels[1], 1, 0);
  grid->addWidget(m_edits[1], 1, 1);
  grid->addWidget(m_browse, 1, 2);
  grid->addWidget(m_preferDetailed, 2, 0, 1, 3);
  grid->addWidget(m_labels[2], 3, 0);
  grid->addWidget(m_edits[2], 3, 1, 1, 2);
  grid->addWidget(m_labels[3], 4, 0);
  grid->addWidget(m_edits[3], 4, 1, 1, 2);
  grid->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  m_ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &COutputSettingsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &COutputSettingsDlg::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetMinimumSize);

  connect(m_preferDetailed, &QCheckBox::toggled, this,
          &COutputSettingsDlg::UpdateTitleHeaderEnabled);
  connect(m_browse, &QPushButton::clicked, this, &COutputSettingsDlg::Browse);
  UpdateTitleHeaderEnabled();
}

void COutputSettingsDlg::SetValues(const OutputSettingsValues& values) {
  m_edits[0]->setText(ToQt(values.folderName));
  m_edits[1]->setText(ToQt(values.location));
  m_edits[2]->setText(ToQt(values.title));
  m_edits[3]->setText(ToQt(values.header));
  m_preferDetailed->setChecked(values.preferDetailedSettings);
  UpdateTitleHeaderEnabled();
  m_edits[0]->selectAll();
  m_edits[0]->setFocus();
}

OutputSettingsValues COutputSettingsDlg::GetValues() const {
  OutputSettingsValues values;
  values.folderName = m_edits[0]->text().toStdString();
  values.location = m_edits[1]->text().toStdString();
  values.title = m_edits[2]->text().toStdString();
  values.header = m_edits[3]->text().toStdString();
  values.preferDetailedSettings = m_preferDetailed->isChecked();
  return values;
}

CValidateEdit* COutputSettingsDlg::Edit(Field field) const {
  const int index = Index(field);
  return index < 0 ? nullptr : m_edits[index];
}

QLabel* COutputSettingsDlg::Label(Field field) const {
  const int index = Index(field);
  return index < 0 ? nullptr : m_labels[index];
}

QString COutputSettingsDlg::ErrorMessage(Field field) const {
  const int index = Index(field);
  return index < 0 ? QString() : m_edits[index]->GetErrorMessage();
}

void COutputSettingsDlg::UpdateTitleHeaderEnabled() {
  const bool enabled = OutputSettingsModel::IsTitleHeaderEnabled(GetValues());
  for (int i = 2; i < 4; ++i) {
    m_labels[i]->setEnabled(enabled);
    m_edits[i]->setEnabled(enabled);
  }
}

void COutputSettingsDlg::Browse() {
  const QString chosen = QFileDialog::getExistingDirectory(
      this, ToQt(StringUtils::GetLoadString(kIdBrowsePrompt)), m_edits[1]->text());
  if (!chosen.isEmpty()) m_edits[1]->setText(chosen);
}

void COutputSettingsDlg::accept() {
  const OutputSettingsModel::OkCheck check = OutputSettingsModel::CheckOk(GetValues());
  if (check.accepted) {
    QDialog::accept();
    return;
  }
  // An empty field reports its own message; the other refusals are the model's.
  CValidateEdit* edit = Edit(check.focus);
  if (edit != nullptr && edit->text().isEmpty()) {
    edit->Validate();
    return;
  }
  m_host.ShowMessage(check.message, check.icon, MessageButtons::Ok);
  if (edit != nullptr) {
    edit->setFocus();
    edit->selectAll();
  }
}

}  // namespace pictavo::app
