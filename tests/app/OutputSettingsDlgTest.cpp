#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/OutputSettingsDlg.h"
#include "support/TestHost.h"

using pictavo::OutputSettingsValues;
using pictavo::app::COutputSettingsDlg;
using pictavo::app::CValidateEdit;
using pictavo::app::testing::TestHost;
using pictavo::OutputSettingsModel::Field;

Q_DECLARE_METATYPE(Field)

namespace {

OutputSettingsValues Values(const QString& location) {
  OutputSettingsValues values;
  values.folderName = "Pictavo1";
  values.location = location.toStdString();
  values.title = "夏の旅行";
  values.header = "夏の旅行";
  return values;
}

}  // namespace

class OutputSettingsDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void EmptyFieldIsReportedWithItsLabel_data() {
    QTest::addColumn<Field>("field");
    QTest::addColumn<bool>("preferDetailed");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder name") << Field::FolderName << false
                                 << QStringLiteral("フォルダー名を入力してください。");
    QTest::newRow("location") << Field::Location << false
                              << QStringLiteral("ファイルの出力先を入力してください。");
    QTest::newRow("title") << Field::Title << false
                           << QStringLiteral("タイトルを入力してください。");
    QTest::newRow("heading") << Field::Header << false
                             << QStringLiteral("見出しを入力してください。");
    QTest::newRow("title while detailed settings win") << Field::Title << true << QString();
  }

  void EmptyFieldIsReportedWithItsLabel() {
    QFETCH(Field, field);
    QFETCH(bool, preferDetailed);
    QFETCH(QString, message);
    QTemporaryDir location;
    TestHost host;
    std::vector<std::pair<QWidget*, QString>> reported;
    CValidateEdit::SetReporter(
        [&reported](QWidget* field, const QString& text) { reported.emplace_back(field, text); });
    const auto restore = qScopeGuard([] { CValidateEdit::SetReporter({}); });
    COutputSettingsDlg dialog(nullptr, host);
    OutputSettingsValues values = Values(location.path());
    values.preferDetailedSettings = preferDetailed;
    dialog.SetValues(values);
    dialog.show();
    dialog.Edit(field)->clear();
    dialog.OkButton()->click();
    QVERIFY(host.m_messages.empty());
    if (message.isEmpty()) {
      QVERIFY(reported.empty());
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QVERIFY(!QDir(location.filePath("Pictavo1")).exists());  // the run makes it, not OK
      return;
    }
    QCOMPARE(dialog.ErrorMessage(field), message);
    QCOMPARE(reported.size(), std::size_t{1});
    QCOMPARE(reported[0].first, dialog.Edit(field));
    QCOMPARE(reported[0].second, message);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), dialog.Edit(field));
  }

  void ExistingFolderIsRefusedAndTheNameGetsTheFocus() {
    QTemporaryDir location;
    QVERIFY(QDir(location.path()).mkdir(QStringLiteral("旅行 #1")));
    TestHost host;
    COutputSettingsDlg dialog(nullptr, host);
    dialog.SetValues(Values(location.path()));
    dialog.show();
    dialog.Edit(Field::Title)->setFocus();
    dialog.Edit(Field::FolderName)->setText(QStringLiteral("旅行 #1"));
    dialog.OkButton()->click();
    QCOMPARE(host.MessageTexts(),
             std::vector<std::string>{"指定した場所には、既にフォルダーが存在します。"});
    QCOMPARE(host.m_messages[0].icon, pictavo::MessageIcon::None);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), dialog.Edit(Field::FolderName));

    dialog.Edit(Field::FolderName)->setText(QStringLiteral("旅行 #2"));
    dialog.Edit(Field::Header)->setText(QStringLiteral("見出し & <b>"));
    dialog.OkButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.GetValues().folderName, std::string("旅行 #2"));
    QCOMPARE(dialog.GetValues().header, std::string("見出し & <b>"));
  }

  void TitleAndHeadingFollowTheDetailedSettingsBox() {
    TestHost host;
    COutputSettingsDlg dialog(nullptr, host);
    OutputSettingsValues values = Values(QDir::tempPath());
    values.preferDetailedSettings = true;
    dialog.SetValues(values);
    const Field fields[] = {Field::Title, Field::Header};
    for (Field field : fields) {
      QVERIFY(!dialog.Edit(field)->isEnabled());
      QVERIFY(!dialog.Label(field)->isEnabled());
    }
    dialog.PreferDetailedSettings()->click();
    for (Field field : fields) {
      QVERIFY(dialog.Edit(field)->isEnabled());
      QVERIFY(dialog.Label(field)->isEnabled());
    }
    QVERIFY(dialog.Edit(Field::FolderName)->isEnabled());
    QVERIFY(!dialog.GetValues().preferDetailedSettings);
  }
};

QTEST_MAIN(OutputSettingsDlgTest)
#include "OutputSettingsDlgTest.moc"
