// The options dialog: pages never shown keep their values, a wrong page cannot be left and OK
// stays, the fall-backs of the size combos and radios, the up-down clamp, the browser list,
// and what OK and cancel hand back.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <map>

#include "album/StyleFuncs.h"
#include "app/BrowserFuncs.h"
#include "app/OptionsDlg.h"
#include "app/OptionsGeneralDlg.h"
#include "app/OptionsLayoutDlg.h"
#include "app/OptionsOutputDlg.h"
#include "app/OptionsOutputPageDlg.h"
#include "app/OptionsOutputPhotoDlg.h"
#include "app/OptionsOutputSlideshowDlg.h"
#include "app/OptionsOutputStyleDlg.h"
#include "app/OptionsOutputThumbnailDlg.h"
#include "app/OptionsRules.h"
#include "app/OptionsUpdateDlg.h"
#include "app/PhotoSizeControls.h"
#include "app/StyleDesignSettingsDlg.h"
#include "app/UpDownCtrl.h"
#include "app/ValidateEdit.h"
#include "core/Profile.h"
#include "core/SettingsStore.h"

using namespace pictavo;
using namespace pictavo::app;

namespace {

// Every Options\ section as the settings file would hold it.
std::map<std::string, std::string> Sections(const Settings& settings) {
  Profile profile;
  SaveSettings(settings, profile);
  std::map<std::string, std::string> sections;
  std::string current;
  std::istringstream text(profile.ToText());
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("[", 0) == 0) {
      current = line;
    } else {
      sections[current] += line + "\n";
    }
  }
  return sections;
}

// Settings away from the defaults, with values the file may hold but the dialog would refuse.
Settings Unusual() {
  Settings s;
  s.General.Address = "/tmp/写真 & 100%";
  s.View.GIF = 1;
  s.Layout.AlternatingRowColorsTextBkOdd = 0x123456;
  s.Output.FileName = "top";
  s.Output.Location = "/tmp/アルバム 1";
  s.Output.OpenFile = 0;
  s.Output.OpenFileProgram = 1;
  s.Output.OpenProgramKey = "gone.desktop";
  s.OutputStyle.Style = 2;
  s.OutputStyle.StyleDesign = 3;
  s.OutputPage.Title = "\"旅\" <2024>";
  s.OutputPage.FooterCopyright = "";
  s.OutputPhoto.PhotoSize = 4;
  s.OutputPhoto.PhotoDimensions = 2000;
  s.OutputThumbnail.Column = 7;
  s.OutputThumbnail.Row = 0;  // out of range: kept while its page is never shown
  s.OutputSlideshow.Play = 1;
  s.OutputSlideshow.Duration = "2.5";
  s.OutputSlideshow.Repeat = 2;
  s.OutputSlideshow.RepeatLimit = 4;
  s.Update.Interval = 2;
  UpdateCheckPeriod(s);
  return s;
}

template <typename Page>
Page* Show(COptionsSheet& sheet, int page) {
  if (!sheet.SetActivePage(page)) return nullptr;
  return qobject_cast<Page*>(sheet.GetPage(page));
}

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

}  // namespace

class OptionsDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    m_runtime.designs = {{0, "スタンダード", "standard.css"},
                         {1, "ダーク", "dark.css"},
                         {2, "ナチュラル", "natural.css"},
                         {3, "モノクローム", "monochrome.css"},
                         {4, "ギャラリー", "gallery.css"}};
    // The browser list comes from our own applications folders only.
    QVERIFY(m_xdg.isValid());
    WriteFile(m_xdg.filePath("home/applications/beta.desktop"),
              "[Desktop Entry]\nType=Application\nName=Beta Browser\nExec=sh %u\n"
              "Categories=Network;WebBrowser;\n");
    WriteFile(m_xdg.filePath("home/applications/alpha.desktop"),
              "[Desktop Entry]\nType=Application\nName=Alpha\nName[ja]=アルファ\n"
              "Exec=\"sh\" --new %U\nMimeType=text/plain;text/html;\n");
    WriteFile(m_xdg.filePath("home/applications/ghost.desktop"),
              "[Desktop Entry]\nType=Application\nName=Ghost\nExec=/nonexistent/ghost\n"
              "Icon=/nonexistent/ghost.png\nCategories=WebBrowser;\n");
    WriteFile(m_xdg.filePath("home/applications/editor.desktop"),
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=sh\nMimeType=text/plain;\n");
    qputenv("XDG_DATA_HOME", m_xdg.filePath("home").toUtf8());
    qputenv("XDG_DATA_DIRS", m_xdg.filePath("none").toUtf8());
  }

  void init() {
    m_reported.clear();
    CValidateEdit::SetReporter([this](QWidget*, const QString& message) { m_reported << message; });
  }
  void cleanup() { CValidateEdit::SetReporter({}); }

  void TreeHoldsTheTenPagesWithOutputsChildren() {
    COptionsSheet sheet(Settings{}, m_runtime, {});
    QTreeWidget* tree = sheet.GetTree();
    QStringList top;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) top << tree->topLevelItem(i)->text(0);
    QCOMPARE(top, (QStringList{"全般", "表示", "レイアウト", "出力", "更新"}));
    QStringList children;
    for (int i = 0; i < tree->topLevelItem(3)->childCount(); ++i) {
      children << tree->topLevelItem(3)->child(i)->text(0);
    }
    QCOMPARE(children,
             (QStringList{"スタイル", "ページ", "フォト", "サムネイル", "スライドショー"}));
    QCOMPARE(sheet.GetActivePage(), int(COptionsSheet::kGeneral));
  }

  void OkAfterOnlyTheFirstPageChangesOnlyGeneral() {
    const Settings before = Unusual();
    COptionsSheet sheet(before, m_runtime, {});
    auto* general = Show<COptionsGeneralDlg>(sheet, COptionsSheet::kGeneral);
    QVERIFY(general);
    general->GetHistoryEdit()->setText("12");
    general->GetStartupCombo()->setCurrentIndex(2);
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));

    auto after = Sections(sheet.GetSettings());
    auto expected = Sections(before);
    QVERIFY(after["[Options\\General]"] != expected["[Options\\General]"]);
    QCOMPARE(sheet.GetSettings().General.AddressHistory, 12);
    QCOMPARE(sheet.GetSettings().General.StartupAddress, 2);
    after.erase("[Options\\General]");
    expected.erase("[Options\\General]");
    QCOMPARE(after, expected);
  }

  void EveryPageShownAndConfirmedKeepsEveryValue() {
    Settings before = Unusual();
    before.OutputThumbnail.Row = 3;
    before.Output.OpenProgramKey = "alpha.desktop";
    before.Output.OpenProgram = BrowserFuncs::FindProgram("sh");
    before.Output.OpenProgramApps = BrowserFuncs::kUserEntry;
    COptionsSheet sheet(before, m_runtime, {});
    for (int page = 0; page < COptionsSheet::kPageCount; ++page) {
      QVERIFY2(sheet.SetActivePage(page), qPrintable(QString::number(page)));
    }
    QVERIFY(m_reported.isEmpty());
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(Sections(sheet.GetSettings()), Sections(before));
  }

  // With PICTAVO_SCREENSHOTS naming a folder, a picture of every page is left there (taken
  // with import from the X server when run under xvfb-run with QT_QPA_PLATFORM=xcb).
  void EveryPageFitsTheSheetAsItOpens() {
    Settings before = Unusual();
    before.OutputThumbnail.Row = 3;
    COptionsSheet sheet(before, m_runtime, {});
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    const QString shots = qEnvironmentVariable("PICTAVO_SCREENSHOTS");
    for (int page = 0; page < COptionsSheet::kPageCount; ++page) {
      QVERIFY(sheet.SetActivePage(page));
      QWidget* shown = sheet.GetPage(page);
      const QWidget* viewport = shown->parentWidget()->parentWidget();
      QTRY_VERIFY(shown->isVisible());
      const QSize needed = shown->minimumSizeHint();
      QVERIFY2(needed.width() <= viewport->width() && needed.height() <= viewport->height(),
               qPrintable(QStringLiteral("page %1 needs %2x%3")
                              .arg(page)
                              .arg(needed.width())
                              .arg(needed.height())));
      if (shots.isEmpty()) continue;
      QTest::qWait(300);
      const QString file =
          QStringLiteral("%1/options-%2.png").arg(shots).arg(page, 2, 10, QChar('0'));
      if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QProcess::execute(QStringLiteral("import"), {"-window", "root", file});
      } else {
        sheet.grab().save(file);
      }
    }
  }

  void EmptyRequiredFieldKeepsThePageAndOkStays_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    const int output = COptionsSheet::kOutput;
    const int page = COptionsSheet::kOutputPage;
    QTest::newRow("file name") << output << 0 << "既定のファイル名を入力してください。";
    QTest::newRow("folder name") << output << 1 << "既定のフォルダー名を入力してください。";
    QTest::newRow("location") << output << 2 << "既定のファイルの場所を入力してください。";
    QTest::newRow("title") << page << 0 << "タイトルを入力してください。";
    QTest::newRow("header") << page << 1 << "見出しを入力してください。";
    QTest::newRow("thumbnail link") << page << 2 << "サムネイル ページを入力してください。";
    QTest::newRow("home link") << page << 3 << "ホームページを入力してください。";
    QTest::newRow("home address") << page << 4 << "ホームページ URLを入力してください。";
  }
  void EmptyRequiredFieldKeepsThePageAndOkStays() {
    QFETCH(int, page);
    QFETCH(int, field);
    QFETCH(QString, message);
    Settings before;
    before.OutputPage.ViewLinkHomePagePhotoPage = 1;  // the home page fields are enabled
    COptionsSheet sheet(before, m_runtime, {});
    sheet.show();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QVERIFY(sheet.SetActivePage(page));
    CValidateEdit* edit = nullptr;
    if (auto* output = qobject_cast<COptionsOutputDlg*>(sheet.GetPage(page))) {
      edit = std::vector<CValidateEdit*>{output->GetFileNameEdit(), output->GetFolderNameEdit(),
                                         output->GetLocationEdit()}[field];
    } else {
      auto* texts = qobject_cast<COptionsOutputPageDlg*>(sheet.GetPage(page));
      edit = std::vector<CValidateEdit*>{
          texts->GetTitleEdit(), texts->GetHeaderEdit(), texts->GetLinkThumbnailPageEdit(),
          texts->GetLinkHomePageEdit(), texts->GetLinkHomePageURLEdit()}[field];
    }
    edit->clear();

    // The user clicks "全般" in the tree: the page stays, and so does its row.
    QTreeWidget* tree = sheet.GetTree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(tree->topLevelItem(0)).center());
    QTRY_COMPARE(m_reported, QStringList{message});
    QCOMPARE(sheet.GetActivePage(), page);
    QTRY_COMPARE(tree->selectedItems().size(), 1);
    QCOMPARE(tree->selectedItems().front()->data(0, Qt::UserRole).toInt(), page);
    QCOMPARE(tree->currentItem()->data(0, Qt::UserRole).toInt(), page);
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(!sheet.SetActivePage(COptionsSheet::kGeneral));
    QCOMPARE(m_reported.size(), 2);

    sheet.accept();
    QVERIFY(sheet.isVisible());
    QCOMPARE(m_reported.size(), 3);
  }

  void DisabledLinkFieldsMayBeEmpty() {
    COptionsSheet sheet(Settings{}, m_runtime, {});  // no home page link ticked
    auto* page = Show<COptionsOutputPageDlg>(sheet, COptionsSheet::kOutputPage);
    page->GetLinkHomePageEdit()->clear();
    page->GetViewLinkThumbnailPageCheck()->setChecked(false);
    page->GetLinkThumbnailPageEdit()->clear();
    QVERIFY(!page->GetLinkThumbnailPageEdit()->isEnabled());
    QVERIFY(sheet.SetActivePage(COptionsSheet::kGeneral));
    QVERIFY(m_reported.isEmpty());
  }

  void NumberOutOfRangeReportsTheRangeAndKeepsTheFocus_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("history 0") << int(COptionsSheet::kGeneral) << "0"
                               << "1 から 16 までの整数を入力してください。";
    QTest::newRow("history text") << int(COptionsSheet::kGeneral) << "八"
                                  << "1 から 16 までの整数を入力してください。";
    QTest::newRow("photo size 4801") << int(COptionsSheet::kOutputPhoto) << "4801"
                                     << "1 から 4800 までの整数を入力してください。";
    QTest::newRow("column 31") << int(COptionsSheet::kOutputThumbnail) << "31"
                               << "1 から 30 までの整数を入力してください。";
    QTest::newRow("duration 10.1") << int(COptionsSheet::kOutputSlideshow) << "10.1"
                                   << "0.1 から 10 までの数字を入力してください。";
    QTest::newRow("duration comma") << int(COptionsSheet::kOutputSlideshow) << "0,5"
                                    << "0.1 から 10 までの数字を入力してください。";
  }
  void NumberOutOfRangeReportsTheRangeAndKeepsTheFocus() {
    QFETCH(int, page);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const Settings before = Unusual();  // custom photo size, automatic play
    COptionsSheet sheet(before, m_runtime, {});
    sheet.show();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    QVERIFY(sheet.SetActivePage(page));
    QWidget* shown = sheet.GetPage(page);
    CValidateEdit* edit = nullptr;
    if (auto* general = qobject_cast<COptionsGeneralDlg*>(shown)) edit = general->GetHistoryEdit();
    if (auto* photo = qobject_cast<COptionsOutputPhotoDlg*>(shown)) {
      edit = photo->GetSize()->GetDimensionsEdit();
    }
    if (auto* thumbs = qobject_cast<COptionsOutputThumbnailDlg*>(shown)) {
      edit = thumbs->GetColumnEdit();
    }
    if (auto* show = qobject_cast<COptionsOutputSlideshowDlg*>(shown))
      edit = show->GetDurationEdit();
    QVERIFY(edit && edit->isEnabled());
    edit->setText(text);
    sheet.GetTree()->setFocus();

    sheet.accept();
    QVERIFY(sheet.isVisible());
    QCOMPARE(m_reported, QStringList{message});
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(sheet.GetActivePage(), page);
  }

  void WrongCustomSizeKeepsCustom_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("photo page") << int(COptionsSheet::kOutputPhoto);
    QTest::newRow("slideshow page") << int(COptionsSheet::kOutputSlideshow);
  }
  void WrongCustomSizeKeepsCustom() {
    QFETCH(int, page);
    Settings before;
    before.OutputPhoto.PhotoSize = OptionsRules::kCustomSize;
    before.OutputSlideshow.PhotoSize = OptionsRules::kCustomSize;
    COptionsSheet sheet(before, m_runtime, {});
    QVERIFY(sheet.SetActivePage(page));
    CPhotoSizeControls* size = nullptr;
    if (auto* photo = qobject_cast<COptionsOutputPhotoDlg*>(sheet.GetPage(page))) {
      size = photo->GetSize();
    } else {
      size = qobject_cast<COptionsOutputSlideshowDlg*>(sheet.GetPage(page))->GetSize();
    }
    QCOMPARE(size->GetCombo()->itemText(1), QStringLiteral("大: 1024"));
    size->GetDimensionsEdit()->setText("0");
    size->GetCombo()->setCurrentIndex(1);  // "大: 1024"
    QCOMPARE(size->GetCombo()->currentIndex(), OptionsRules::kCustomSize);
    QCOMPARE(size->GetCombo()->currentText(), QStringLiteral("カスタム"));
    QVERIFY(size->GetDimensionsEdit()->isEnabled());
    QCOMPARE(m_reported, QStringList{"1 から 4800 までの整数を入力してください。"});

    size->GetDimensionsEdit()->setText("800");
    size->GetCombo()->setCurrentIndex(1);
    QCOMPARE(size->GetCombo()->currentIndex(), 1);
    QVERIFY(!size->GetDimensionsEdit()->isEnabled());
    QVERIFY(!size->GetUpDown()->isEnabled());
    QCOMPARE(m_reported.size(), 1);
  }

  void WrongDependentValueKeepsThePlayAndRepeatRadios() {
    const Settings before = Unusual();  // automatic play, repeat a number of times
    COptionsSheet sheet(before, m_runtime, {});
    auto* page = Show<COptionsOutputSlideshowDlg>(sheet, COptionsSheet::kOutputSlideshow);
    page->GetDurationEdit()->setText("0");
    page->GetPlayRadio(0)->click();
    QVERIFY(page->GetPlayRadio(1)->isChecked());
    QVERIFY(page->GetDurationEdit()->isEnabled());
    page->GetRepeatLimitEdit()->setText("11");
    page->GetRepeatRadio(0)->click();
    QVERIFY(page->GetRepeatRadio(2)->isChecked());
    QCOMPARE(m_reported, (QStringList{"0.1 から 10 までの数字を入力してください。",
                                      "1 から 10 までの整数を入力してください。"}));

    page->GetDurationEdit()->setText("4.0");
    page->GetPlayRadio(0)->click();
    QVERIFY(page->GetPlayRadio(0)->isChecked());
    QVERIFY(!page->GetDurationEdit()->isEnabled());
  }

  void DurationStepsByATenthWithinItsRange_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("result");
    QTest::newRow("top stays") << "10.0" << 1 << "10.0";
    QTest::newRow("bottom stays") << "0.1" << -1 << "0.1";
    QTest::newRow("up") << "3.0" << 1 << "3.1";
    QTest::newRow("down across a whole") << "3.0" << -1 << "2.9";
    QTest::newRow("near the top") << "9.95" << 1 << "10.0";
    QTest::newRow("far above") << "250" << -1 << "10.0";
    QTest::newRow("no number") << "abc" << 1 << "0.1";
    QTest::newRow("negative") << "-5" << 1 << "0.1";
  }
  void DurationStepsByATenthWithinItsRange() {
    QFETCH(QString, text);
    QFETCH(int, steps);
    QFETCH(QString, result);
    QCOMPARE(OptionsRules::StepDuration(text, steps), result);
  }

  void DurationUpDownClickAtTheTopStays() {
    Settings before;
    before.OutputSlideshow.Play = 1;
    before.OutputSlideshow.Duration = "10.0";
    COptionsSheet sheet(before, m_runtime, {});
    auto* page = Show<COptionsOutputSlideshowDlg>(sheet, COptionsSheet::kOutputSlideshow);
    QCOMPARE(page->GetDurationEdit()->text(), QStringLiteral("10.0"));
    page->GetDurationUpDown()->GetUpButton()->click();
    QCOMPARE(page->GetDurationEdit()->text(), QStringLiteral("10.0"));
    page->GetDurationUpDown()->GetDownButton()->click();
    QCOMPARE(page->GetDurationEdit()->text(), QStringLiteral("9.9"));
    sheet.accept();
    QCOMPARE(sheet.GetSettings().OutputSlideshow.Duration, std::string("9.9"));
  }

  void UnreadableDurationIsKeptWhileItsEditIsDisabled() {
    Settings before;
    before.OutputSlideshow.Play = 0;
    before.OutputSlideshow.Duration = "abc";
    COptionsSheet sheet(before, m_runtime, {});
    QVERIFY(sheet.SetActivePage(COptionsSheet::kOutputSlideshow));
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(sheet.GetSettings().OutputSlideshow.Duration, std::string("abc"));
  }

  void OpenFileControlsDisabledYetStored() {
    Settings before;
    before.Output.Location = "/tmp";
    before.Output.OpenFile = 1;
    before.Output.OpenFileProgram = 0;
    before.Output.OpenProgramKey = "BETA.desktop";  // found without regard to case
    COptionsSheet sheet(before, m_runtime, {});
    auto* page = Show<COptionsOutputDlg>(sheet, COptionsSheet::kOutput);
    QVERIFY(page->GetProgramRadio(0)->isEnabled());
    QVERIFY(!page->GetBrowserCombo()->isEnabled());
    page->GetProgramRadio(1)->click();
    QVERIFY(page->GetBrowserCombo()->isEnabled());
    QCOMPARE(page->GetBrowserCombo()->currentText(), QStringLiteral("Beta Browser"));
    page->GetOpenFileCheck()->setChecked(false);
    QVERIFY(!page->GetProgramRadio(0)->isEnabled());
    QVERIFY(!page->GetProgramRadio(1)->isEnabled());
    QVERIFY(!page->GetBrowserCombo()->isEnabled());
    sheet.accept();
    const auto& out = sheet.GetSettings().Output;
    QCOMPARE(out.OpenFile, 0);
    QCOMPARE(out.OpenFileProgram, 1);
    QCOMPARE(out.OpenProgramKey, std::string("beta.desktop"));
    QVERIFY(QString::fromStdString(out.OpenProgram).endsWith("/sh"));
  }

  void MissingBrowserSelectsTheFirstRow() {
    const Settings before = Unusual();  // OpenProgramKey "gone.desktop"
    COptionsSheet sheet(before, m_runtime, {});
    auto* page = Show<COptionsOutputDlg>(sheet, COptionsSheet::kOutput);
    QComboBox* combo = page->GetBrowserCombo();
    // Sorted by name; the ghost with neither program nor icon and the editor get no row.
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("Beta Browser"));
    QCOMPARE(combo->itemText(1), QStringLiteral("アルファ"));
    QCOMPARE(combo->currentIndex(), 0);
    sheet.accept();
    QCOMPARE(sheet.GetSettings().Output.OpenProgramKey, std::string("beta.desktop"));
    QCOMPARE(sheet.GetSettings().Output.OpenProgramApps, BrowserFuncs::kUserEntry);
  }

  void DesktopEntriesThatAreNoBrowserGetNoEntry_data() {
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("name");  // empty: no entry
    QTest::addColumn<bool>("program");  // the program was found
    const QByteArray head = "[Desktop Entry]\nType=Application\n";
    QTest::newRow("browser") << head + "Name=B\nExec=sh\nCategories=WebBrowser;\n"
                             << "B" << true;
    QTest::newRow("html handler, quoted program with arguments")
        << head + "Name=H\nExec=\"sh\" -c \"x y\" %u\nMimeType=text/html;\n"
        << "H" << true;
    QTest::newRow("program missing") << head +
                                            "Name=M\nExec=no-such-browser-xyz %u\n"
                                            "Categories=WebBrowser;\n"
                                     << "M" << false;
    QTest::newRow("relative path is no program")
        << head + "Name=R\nExec=bin/sh\nCategories=WebBrowser;\n"
        << "R" << false;
    QTest::newRow("category as part of a word")
        << head + "Name=W\nExec=sh\nCategories=NotAWebBrowser;\n"
        << "" << false;
    QTest::newRow("no display") << head +
                                       "Name=N\nExec=sh\nNoDisplay=true\nCategories=WebBrowser;\n"
                                << "" << false;
    QTest::newRow("hidden") << head + "Name=D\nExec=sh\nHidden=true\nMimeType=text/html;\n"
                            << "" << false;
    QTest::newRow("link, not an application")
        << QByteArray("[Desktop Entry]\nType=Link\nName=L\nCategories=WebBrowser;\n") << ""
        << false;
    QTest::newRow("keys of an action do not count")
        << head + "Name=A\nExec=sh\n[Desktop Action new]\nCategories=WebBrowser;\n"
        << "" << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[Desktop\n=\n==", 13) << "" << false;
  }
  void DesktopEntriesThatAreNoBrowserGetNoEntry() {
    QFETCH(QByteArray, entry);
    QFETCH(QString, name);
    QFETCH(bool, program);
    QTemporaryDir dir;
    WriteFile(dir.filePath("e.desktop"), entry);
    BrowserFuncs::APPITEM item;
    const bool read = BrowserFuncs::ReadDesktopEntry(dir.filePath("e.desktop").toStdString(),
                                                     "e.desktop", BrowserFuncs::kSystemEntry, item);
    QCOMPARE(read, !name.isEmpty());
    if (!read) return;
    QCOMPARE(QString::fromStdString(item.name), name);
    QCOMPARE(!item.program.empty(), program);
    QCOMPARE(item.key, std::string("e.desktop"));
  }

  void UserEntryHidesTheSystemEntryOfTheSameId() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("user/web.desktop"),
              "[Desktop Entry]\nType=Application\nName=Mine\nExec=sh\nCategories=WebBrowser;\n");
    WriteFile(dir.filePath("system/web.desktop"),
              "[Desktop Entry]\nType=Application\nName=Theirs\nExec=sh\nCategories=WebBrowser;\n");
    WriteFile(dir.filePath("system/kde/web.desktop"),
              "[Desktop Entry]\nType=Application\nName=Nested\nExec=sh\nCategories=WebBrowser;\n");
    const auto items = BrowserFuncs::GetBrowserItemsList(
        {dir.filePath("user").toStdString(), dir.filePath("system").toStdString()});
    QCOMPARE(items.size(), std::size_t(2));
    QCOMPARE(items[0].name, std::string("Mine"));
    QCOMPARE(items[0].apps, BrowserFuncs::kUserEntry);
    QCOMPARE(items[1].key, std::string("kde-web.desktop"));
    QCOMPARE(items[1].apps, BrowserFuncs::kSystemEntry);
  }

  void EmptyBrowserListLeavesTheBrowserUnchanged() {
    const QByteArray home = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_xdg.filePath("none").toUtf8());
    Settings before;
    before.Output.Location = "/tmp";
    before.Output.OpenProgramKey = "old.desktop";
    before.Output.OpenProgram = "/opt/old/browser";
    COptionsSheet sheet(before, m_runtime, {});
    auto* page = Show<COptionsOutputDlg>(sheet, COptionsSheet::kOutput);
    qputenv("XDG_DATA_HOME", home);
    QCOMPARE(page->GetBrowserCombo()->count(), 0);
    sheet.accept();
    QCOMPARE(sheet.GetSettings().Output.OpenProgramKey, std::string("old.desktop"));
    QCOMPARE(sheet.GetSettings().Output.OpenProgram, std::string("/opt/old/browser"));
  }

  void IntervalSetsTheCheckPeriodAndColoursAreStored() {
    COptionsSheet sheet(Settings{}, m_runtime, {});
    auto* update = Show<COptionsUpdateDlg>(sheet, COptionsSheet::kUpdate);
    update->GetIntervalCombo()->setCurrentIndex(2);
    update->GetEnabledCheck()->setChecked(false);
    QVERIFY(!update->GetIntervalCombo()->isEnabled());
    auto* layout = Show<COptionsLayoutDlg>(sheet, COptionsSheet::kLayout);
    layout->SetColor(1, 0x0000FF);  // red as 0x00BBGGRR
    QCOMPARE(layout->GetSwatch(1)->palette().color(QPalette::Window), QColor(255, 0, 0));
    sheet.accept();
    QCOMPARE(sheet.GetSettings().Update.Interval, 2);
    QCOMPARE(sheet.GetSettings().Update.Enabled, 0);
    QCOMPARE(sheet.GetSettings().CheckPeriodDays, 30);
    QCOMPARE(sheet.GetSettings().Layout.AlternatingRowColorsTextBkEven, COLORREF{0x0000FF});
  }

  void CancelDiscardsButTheClearedHistoryStays() {
    Settings settings = Unusual();
    const auto before = Sections(settings);
    int cleared = 0;
    QTimer::singleShot(0, this, [] {
      auto* sheet = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
      QVERIFY(sheet);
      auto* general = qobject_cast<COptionsGeneralDlg*>(sheet->GetPage(COptionsSheet::kGeneral));
      general->GetClearHistoryButton()->click();
      general->GetAddressEdit()->setText("/elsewhere");
      sheet->SetActivePage(COptionsSheet::kView);
      sheet->reject();
    });
    QVERIFY(!ShowOptionsDialog(nullptr, settings, m_runtime, [&cleared] { ++cleared; }));
    QCOMPARE(cleared, 1);
    QCOMPARE(Sections(settings), before);
  }

  void OkHandsBackTheEditedCopy() {
    Settings settings = Unusual();
    QTimer::singleShot(0, this, [] {
      auto* sheet = qobject_cast<COptionsSheet*>(QApplication::activeModalWidget());
      QVERIFY(sheet);
      auto* thumbs = Show<COptionsOutputThumbnailDlg>(*sheet, COptionsSheet::kOutputThumbnail);
      thumbs->GetRowEdit()->setText("4");
      thumbs->GetLinkCombo()->setCurrentIndex(0);
      sheet->accept();
    });
    QVERIFY(ShowOptionsDialog(nullptr, settings, m_runtime));
    QCOMPARE(settings.OutputThumbnail.Row, 4);
    QCOMPARE(settings.OutputThumbnail.ThumbnailImageLink, 0);
    QCOMPARE(settings.OutputThumbnail.Column, 7);
  }

  void StyleDialogCancelLeavesTheCombo() {
    COptionsSheet sheet(Settings{}, m_runtime, {});
    auto* page = Show<COptionsOutputStyleDlg>(sheet, COptionsSheet::kOutputStyle);
    page->GetDesignCombo()->setCurrentIndex(2);
    int seen = -1;
    QUrl previewed;
    QTimer::singleShot(0, this, [&seen, &previewed] {
      auto* dialog = qobject_cast<CStyleDesignSettingsDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      seen = dialog->GetCombo()->currentIndex();
      dialog->GetCombo()->setCurrentIndex(4);
      previewed = dialog->GetPreviewUrl();
      dialog->reject();
    });
    page->GetSettingsButton()->click();
    QCOMPARE(seen, 2);
    QCOMPARE(previewed.query(), QStringLiteral("gallery.css"));
    QCOMPARE(page->GetDesignCombo()->currentIndex(), 2);

    QTimer::singleShot(0, this, [] {
      auto* dialog = qobject_cast<CStyleDesignSettingsDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->GetCombo()->setCurrentIndex(1);
      dialog->accept();
    });
    page->GetSettingsButton()->click();
    QCOMPARE(page->GetDesignCombo()->currentIndex(), 1);
    sheet.accept();
    QCOMPARE(sheet.GetSettings().OutputStyle.StyleDesign, 1);
  }

  void PreviewAddressCarriesTheStyleSheet_data() {
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("query");
    QTest::newRow("first") << 0 << "standard.css";
    QTest::newRow("hostile name") << 1 << "a%20b%26c%23%25.css";
    QTest::newRow("no such design") << 7 << "";
  }
  void PreviewAddressCarriesTheStyleSheet() {
    QFETCH(int, selection);
    QFETCH(QString, query);
    const QUrl url = CStyleDesignSettingsDlg::MakePreviewUrl(
        "/opt/p/styles", {{0, "A", "standard.css"}, {1, "B", "a b&c#%.css"}}, selection);
    QCOMPARE(url.toLocalFile(), QStringLiteral("/opt/p/styles/design/index.html"));
    QCOMPARE(url.query(QUrl::FullyEncoded), query);
  }

 private:
  Runtime m_runtime;
  QTemporaryDir m_xdg;
  QStringList m_reported;
};

QTEST_MAIN(OptionsDlgTest)
#include "OptionsDlgTest.moc"
