// The style design dialog's embedded preview shows the chosen design's sample page. Needs the
// web view in the build and a display: ctest runs it as app.StyleDesignWebViewXvfb.
#include <QtTest>

#include <QComboBox>

#ifdef PICTAVO_WEB_VIEW
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

#include "album/Runtime.h"
#include "app/StyleDesignSettingsDlg.h"
#include "core/PathUtils.h"

using namespace pictavo;

class StyleDesignWebViewTest : public QObject {
  Q_OBJECT

 private slots:
  void WebViewShowsTheChosenDesignsSamplePage() {
#ifndef PICTAVO_WEB_VIEW
    QSKIP("built without the web view (PICTAVO_WEB_VIEW=OFF)");
#else
    if (!app::CStyleDesignSettingsDlg::CanEmbedPreview()) QSKIP("needs a display: xvfb-run");
    Runtime runtime;
    QVERIFY(LoadDesigns(runtime).empty() && runtime.designs.size() > 3);
    app::CStyleDesignSettingsDlg dialog(1, runtime);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* view = qobject_cast<QWebEngineView*>(dialog.GetWebView());
    QVERIFY(view);
    QTRY_COMPARE_WITH_TIMEOUT(view->title(), QStringLiteral("デザインのプレビュー"), 60000);
    QTRY_COMPARE_WITH_TIMEOUT(Design(view), QStringLiteral("dark.css"), 60000);

    dialog.GetCombo()->setCurrentIndex(3);  // the preview follows the combo
    QTRY_COMPARE_WITH_TIMEOUT(Design(view), QStringLiteral("monochrome.css"), 60000);
    const QByteArray shots = qgetenv("PICTAVO_SCREENSHOTS");
    if (!shots.isEmpty()) {
      QTest::qWait(1500);  // let the page paint before the picture is taken
      dialog.grab().save(QString::fromUtf8(shots) + "/style-design-dialog.png");
    }
#endif
  }

#ifdef PICTAVO_WEB_VIEW
 private:
  // The design the sample page applied (it marks the root element), read from the page.
  static QString Design(QWebEngineView* view) {
    QString design;
    bool done = false;
    view->page()->runJavaScript(
        QStringLiteral("document.documentElement.getAttribute('data-design') || ''"),
        [&design, &done](const QVariant& value) {
          design = value.toString();
          done = true;
        });
    for (int i = 0; i < 300 && !done; ++i) QTest::qWait(100);
    return design;
  }
#endif
};

int main(int argc, char* argv[]) {
  // The web engine shares its OpenGL context with the widgets; this must precede the app.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  StyleDesignWebViewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "StyleDesignWebViewTest.moc"
