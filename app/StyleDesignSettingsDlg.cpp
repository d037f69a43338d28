#include "app/StyleDesignSettingsDlg.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#ifdef PICTAVO_WEB_VIEW
#include <QWebEngineView>
#endif

#include "core/PathUtils.h"

namespace pictavo::app {

#ifdef PICTAVO_WEB_VIEW
namespace {
// The web engine shares its OpenGL context with the widgets, which Qt allows only when this is
// set before the application object exists; static initialisation runs before main.
const bool kShareOpenGLContexts = [] {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  return true;
}();
}  // namespace
#endif

QUrl CStyleDesignSettingsDlg::MakePreviewUrl(const std::string& stylesFolder,
                                             const std::vector<StyleFuncs::DESIGNITEM>& items,
                                             int selection) {
  const std::filesystem::path page = std::filesystem::absolute(
      std::filesystem::path(stylesFolder) / PathUtils::GetDesignFolderName() / "index.html");
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(page.lexically_normal().string()));
  std::string styleSheet;
  for (const StyleFuncs::DESIGNITEM& item : items) {
    if (item.id == selection) {
      styleSheet = item.styleSheet;
      break;
    }
  }
  // The sample page reads the name percent-decoded, so a name is carried whatever it holds.
  url.setQuery(QString::fromUtf8(QUrl::toPercentEncoding(QString::fromStdString(styleSheet))),
               QUrl::StrictMode);
  return url;
}

bool CStyleDesignSettingsDlg::CanEmbedPreview() {
#ifdef PICTAVO_WEB_VIEW
  // The offscreen platform (the tests) has no surface a web engine can draw on.
  return QGuiApplication::platformName() != QLatin1String("offscreen");
#else
  return false;
#endif
}

CStyleDesignSettingsDlg::CStyleDesignSettingsDlg(int selection, const Runtime& runtime,
                                                 QWidget* parent)
    : QDialog(parent),
      m_stylesFolder(runtime.styleFolder),
      m_items(runtime.designs),
      m_selection(selection),
      m_combo(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("設定"));
  setSizeGripEnabled(true);
  for (const StyleFuncs::DESIGNITEM& item : m_items) {
    const int position = std::clamp(item.id, 0, m_combo->count());
    m_combo->insertItem(position, QString::fromStdString(item.name));
  }
  m_combo->setCurrentIndex(selection < m_combo->count() ? selection : -1);

  auto* label = new QLabel(QStringLiteral("スタイル シート(&S):"), this);
  label->setBuddy(m_combo);
  auto* top = new QHBoxLayout;
  top->addWidget(label);
  top->addWidget(m_combo, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);

#ifdef PICTAVO_WEB_VIEW
  if (CanEmbedPreview()) {
    auto* view = new QWebEngineView(this);
    view->setMinimumSize(480, 320);
    m_webView = view;
    layout->addWidget(view, 1);
  }
#endif
  if (!m_webView) {
    m_openInBrowser = new QPushButton(QStringLiteral("Web ブラウザーでプレビュー(&P)"), this);
    connect(m_openInBrowser, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(m_previewUrl); });
    layout->addWidget(m_openInBrowser, 0, Qt::AlignLeft);
    layout->addStretch(1);
  }

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(m_combo, &QComboBox::currentIndexChanged, this, &CStyleDesignSettingsDlg::ShowPreview);
  ShowPreview();
  resize(m_webView ? QSize(800, 600) : sizeHint());
}

void CStyleDesignSettingsDlg::ShowPreview() {
  m_previewUrl = MakePreviewUrl(m_stylesFolder, m_items, m_combo->currentIndex());
#ifdef PICTAVO_WEB_VIEW
  if (auto* view = qobject_cast<QWebEngineView*>(m_webView)) view->load(m_previewUrl);
#endif
}

void CStyleDesignSettingsDlg::accept() {
  m_selection = m_combo->currentIndex();
  QDialog::accept();
}

}  // namespace pictavo::app
