#include "app/OptionsOutputPageDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/OptionsRules.h"
#include "app/ValidateEdit.h"

namespace pictavo::app {

namespace {

QString Text(const std::string& value) {
  return QString::fromStdString(value);
}

}  // namespace

COptionsOutputPageDlg::COptionsOutputPageDlg(const Settings& settings, QWidget* parent)
    : CKestoOptionsDlg(parent),
      m_values(settings.OutputPage),
      m_viewLinkPhotoPage(
          new QCheckBox(QStringLiteral("フォト ページにページ リンクを表示する(&L)"), this)),
      m_viewLinkThumbnailPage(
          new QCheckBox(QStringLiteral("サムネイル ページ リンクを表示する(&I)"), this)),
      m_homePage{
          new QCheckBox(QStringLiteral("サムネイル ページにホームページ リンクを表示する(&K)"),
                        this),
          new QCheckBox(QStringLiteral("フォト ページにホームページ リンクを表示する(&V)"), this)},
      m_copyright(new QLineEdit(this)) {
  QLabel* titleLabel = nullptr;
  QLabel* headerLabel = nullptr;
  m_title = MakeRequiredEdit(QStringLiteral("タイトル(&T):"), &titleLabel);
  m_header = MakeRequiredEdit(QStringLiteral("見出し(&H):"), &headerLabel);
  m_linkThumbnailPage =
      MakeRequiredEdit(QStringLiteral("サムネイル ページ:"), &m_linkThumbnailPageLabel);
  m_linkHomePage = MakeRequiredEdit(QStringLiteral("ホームページ:"), &m_linkHomePageLabel);
  m_linkHomePageURL =
      MakeRequiredEdit(QStringLiteral("ホームページ URL:"), &m_linkHomePageURLLabel);

  m_title->setText(Text(m_values.Title));
  m_header->setText(Text(m_values.Header));
  m_viewLinkPhotoPage->setChecked(m_values.ViewLinkPhotoPage != 0);
  m_viewLinkThumbnailPage->setChecked(m_values.ViewLinkThumbnailPage != 0);
  m_linkThumbnailPage->setText(Text(m_values.LinkThumbnailPage));
  m_homePage[0]->setChecked(m_values.ViewLinkHomePageThumbnailPage != 0);
  m_homePage[1]->setChecked(m_values.ViewLinkHomePagePhotoPage != 0);
  m_linkHomePage->setText(Text(m_values.LinkHomePage));
  m_linkHomePageURL->setText(Text(m_values.LinkHomePageURL));
  m_copyright->setText(Text(m_values.FooterCopyright));

  auto* page = new QGroupBox(this);
  auto* pageGrid = new QGridLayout(page);
  pageGrid->addWidget(titleLabel, 0, 0);
  pageGrid->addWidget(m_title, 0, 1);
  pageGrid->addWidget(headerLabel, 1, 0);
  pageGrid->addWidget(m_header, 1, 1);
  pageGrid->addWidget(m_viewLinkPhotoPage, 2, 0, 1, 2);
  pageGrid->setColumnStretch(1, 1);

  auto* links = new QGroupBox(this);
  auto* linkGrid = new QGridLayout(links);
  linkGrid->addWidget(m_viewLinkThumbnailPage, 0, 0, 1, 2);
  linkGrid->addWidget(m_linkThumbnailPageLabel, 1, 0);
  linkGrid->addWidget(m_linkThumbnailPage, 1, 1);
  linkGrid->addWidget(m_homePage[0], 2, 0, 1, 2);
  linkGrid->addWidget(m_homePage[1], 3, 0, 1, 2);
  linkGrid->addWidget(m_linkHomePageLabel, 4, 0);
  linkGrid->addWidget(m_linkHomePage, 4, 1);
  linkGrid->addWidget(m_linkHomePageURLLabel, 5, 0);
  linkGrid->addWidget(m_linkHomePageURL, 5, 1);
  linkGrid->setColumnMinimumWidth(0, 140);
  linkGrid->setColumnStretch(1, 1);
  for (QLabel* label : {m_linkThumbnailPageLabel, m_linkHomePageLabel, m_linkHomePageURLLabel}) {
    label->setContentsMargins(20, 0, 0, 0);
  }

  auto* footer = new QGroupBox(this);
  auto* footerGrid = new QGridLayout(footer);
  footerGrid->addWidget(MakeLabel(QStringLiteral("コピーライト(&C):"), m_copyright), 0, 0);
  footerGrid->addWidget(m_copyright, 0, 1);
  footerGrid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(page);
  layout->addWidget(links);
  layout->addWidget(footer);
  layout->addStretch(1);

  connect(m_viewLinkThumbnailPage, &QCheckBox::toggled, this,
          &COptionsOutputPageDlg::UpdateEnabling);
  connect(m_homePage[0], &QCheckBox::toggled, this, &COptionsOutputPageDlg::UpdateEnabling);
  connect(m_homePage[1], &QCheckBox::toggled, this, &COptionsOutputPageDlg::UpdateEnabling);
  UpdateEnabling();
}

void COptionsOutputPageDlg::UpdateEnabling() {
  const bool thumbnail = OptionsRules::IsThumbnailLinkEnabled(m_viewLinkThumbnailPage->isChecked());
  m_linkThumbnailPageLabel->setEnabled(thumbnail);
  m_linkThumbnailPage->setEnabled(thumbnail);
  const bool home =
      OptionsRules::AreHomePageLinksEnabled(m_homePage[0]->isChecked(), m_homePage[1]->isChecked());
  for (QWidget* widget : std::initializer_list<QWidget*>{
           m_linkHomePageLabel, m_linkHomePage, m_linkHomePageURLLabel, m_linkHomePageURL}) {
    widget->setEnabled(home);
  }
}

bool COptionsOutputPageDlg::IsValid() {
  return ValidateEnabled(
      {m_title, m_header, m_linkThumbnailPage, m_linkHomePage, m_linkHomePageURL});
}

void COptionsOutputPageDlg::OnOK(Settings& settings) {
  m_values.Title = m_title->text().toStdString();
  m_values.Header = m_header->text().toStdString();
  m_values.ViewLinkPhotoPage = m_viewLinkPhotoPage->isChecked() ? 1 : 0;
  m_values.ViewLinkThumbnailPage = m_viewLinkThumbnailPage->isChecked() ? 1 : 0;
  m_values.LinkThumbnailPage = m_linkThumbnailPage->text().toStdString();
  m_values.ViewLinkHomePageThumbnailPage = m_homePage[0]->isChecked() ? 1 : 0;
  m_values.ViewLinkHomePagePhotoPage = m_homePage[1]->isChecked() ? 1 : 0;
  m_values.LinkHomePage = m_linkHomePage->text().toStdString();
  m_values.LinkHomePageURL = m_linkHomePageURL->text().toStdString();
  m_values.FooterCopyright = m_copyright->text().toStdString();
  settings.OutputPage = m_values;
}

}  // namespace pictavo::app
