#include "app/Commands.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QRegularExpression>
#include <QWidget>
#include <cstring>

namespace pictavo::app {

const std::vector<CommandDef>& GetCommandDefs() {
  static const std::vector<CommandDef> defs = {
      {Command::kNew, "新規作成(&N)\tCtrl+N", "Ctrl+N", "新しい一覧を作成します。", "新規作成",
       "new"},
      {Command::kOpenFolder, "フォルダーを開く(&D)...\tCtrl+Shift+O", "Ctrl+Shift+O",
       "フォルダーを開いて項目を一覧表示します。", "フォルダーを開く", "open"},
      {Command::kToolbarOpen, "開く", "", "フォルダーを開きます。", "開く", "open"},
      {32841, "プロパティ(&R)", "Alt+Return", "選択した項目のプロパティを表示します。", "", ""},
      {Command::kExit, "アプリケーションの終了(&X)", "", "アプリケーションを終了します。", "", ""},
      {32781, "選択(&S)", "", "選択した項目にチェックを付けます。", "選択", ""},
      {32782, "クリア(&C)", "", "選択した項目のチェックを外します。", "クリア", ""},
      {32783, "削除(&R)", "", "選択した項目を一覧から削除します。", "削除", ""},
      {32784, "すべて選択(&L)\tCtrl+Shift+A", "Ctrl+Shift+A", "すべての項目にチェックを付けます。",
       "すべて選択", "check-all"},
      {32785, "すべてクリア(&A)\tCtrl+Shift+C", "Ctrl+Shift+C",
       "すべての項目のチェックを外します。", "すべてクリア", "uncheck-all"},
      {32786, "選択の切り替え(&I)\tCtrl+I", "Ctrl+I", "すべての項目のチェックを反転します。",
       "選択の切り替え", "invert"},
      {32787, "すべて削除(&E)\tCtrl+Shift+Delete", "Ctrl+Shift+Del",
       "すべての項目を一覧から削除します。", "すべて削除", "remove-all"},
      {32788, "上へ(&U)\tCtrl+Shift+↑", "Ctrl+Shift+Up", "選択した項目を 1 つ上へ移動します。",
       "上へ", "up"},
      {32789, "下へ(&D)\tCtrl+Shift+↓", "Ctrl+Shift+Down", "選択した項目を 1 つ下へ移動します。",
       "下へ", "down"},
      {32845, "開く(&O)", "", "選択した項目を開きます。", "開く", ""},
      {32848, "ファイルの場所を開く(&L)", "", "選択した項目のファイルの場所を開きます。", "", ""},
      {32849, "フォルダーの場所を開く(&L)", "", "選択した項目のフォルダーの場所を開きます。", "",
       ""},
      {32941, "ファイル パス", "", "選択した項目のファイル パスをクリップボードにコピーします。",
       "", ""},
      {32942, "すべて", "", "選択した項目のすべての列をクリップボードにコピーします。", "", ""},
      {Command::kToggleToolbar, "ツール バー(&T)", "", "ツール バーの表示/非表示を切り替えます。",
       "", ""},
      {Command::kCustomizeToolbar, "カスタマイズ(&C)...", "", "ツール バーをカスタマイズします。",
       "", ""},
      {Command::kToggleStatusBar, "ステータス バー(&S)", "",
       "ステータス バーの表示/非表示を切り替えます。", "", ""},
      {32836, "グリッド線(&G)", "", "グリッド線の表示/非表示を切り替えます。", "", ""},
      {32837, "交互の行の色(&A)", "", "交互の行の色の表示/非表示を切り替えます。", "", ""},
      {32831, "昇順(&A)", "", "項目を昇順に並べ替えます。", "", ""},
      {32832, "降順(&D)", "", "項目を降順に並べ替えます。", "", ""},
      {32902, "列のサイズを自動的に変更する(&S)", "", "列のサイズを内容に合わせます。", "", ""},
      {32903, "すべての列のサイズを自動的に変更する(&A)", "",
       "すべての列のサイズを内容に合わせます。", "", ""},
      {Command::kUpOneLevel, "1 つ上の階層へ(&U)", "", "1 つ上の階層のフォルダーを表示します。",
       "上の階層へ", "parent"},
      {Command::kRefresh, "最新の情報に更新(&R)\tCtrl+R", "Ctrl+R",
       "一覧を最新の情報に更新します。", "更新", "refresh"},
      {Command::kExecute, "実行(&E)\tCtrl+F5", "Ctrl+F5", "チェックした項目を出力します。", "実行",
       "execute"},
      {Command::kToolbarExecute, "実行", "", "一覧を出力します。", "実行", "execute"},
      {Command::kPreview, "実行プレビュー(&P)...\tShift+F5", "Shift+F5",
       "チェックした項目をプレビュー出力します。", "実行プレビュー", ""},
      {Command::kOptions, "オプション(&O)...\tCtrl+F12", "Ctrl+F12", "オプションを設定します。",
       "オプション", "options"},
      {Command::kHelp, "ヘルプの表示(&H)\tF1", "F1", "ヘルプを表示します。", "ヘルプ", ""},
      {Command::kToolbarHelp, "ヘルプ", "", "ヘルプを表示します。", "ヘルプ", "help"},
      {Command::kOnlineSupport, "オンライン サポート(&S)", "", "オンライン サポートを表示します。",
       "", ""},
      {Command::kFeedback, "フィードバックの送信(&K)", "", "フィードバックを送信します。", "", ""},
      {Command::kUpdateCheck, "ソフトウェアの更新を確認(&U)...", "",
       "ソフトウェアの更新を確認します。", "", ""},
      {Command::kAbout, "バージョン情報(&A)", "", "バージョン情報を表示します。", "", ""},
      {Command::kFocusAddress, "アドレス", "Alt+D", "", "", ""},
      {Command::kNextPane, "次のウィンドウ", "F6", "", "", ""},
      {Command::kPreviousPane, "前のウィンドウ", "Shift+F6", "", "", ""},
  };
  return defs;
}

const CommandDef* FindCommandDef(int id) {
  for (const CommandDef& def : GetCommandDefs())
    if (def.id == id) return &def;
  return nullptr;
}

QIcon CommandIcon(const char* name) {
  if (!name || !*name) return {};
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

CommandTable::CommandTable(QWidget* window) : QObject(window) {
  for (const CommandDef& def : GetCommandDefs()) {
    auto* action = new QAction(QString::fromUtf8(def.text), window);
    QString label = QString::fromUtf8(def.label);
    if (label.isEmpty()) label = QString::fromUtf8(def.text).section(QLatin1Char('\t'), 0, 0);
    label.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$|&")));
    action->setIconText(label);
    action->setToolTip(label);
    action->setStatusTip(QString::fromUtf8(def.prompt));
    action->setData(def.id);
    if (*def.shortcut && std::strchr(def.text, '\t')) {
      action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
      action->setShortcutContext(Qt::WindowShortcut);
    } else if (*def.shortcut) {
      // A key whose menu text shows none (Alt+Enter for "プロパティ(&R)"): a hidden action of its
      // own, so the menus keep their exact texts.
      auto* key = new QAction(window);
      key->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
      key->setShortcutContext(Qt::WindowShortcut);
      QObject::connect(key, &QAction::triggered, action, &QAction::trigger);
      window->addAction(key);
    }
    action->setIcon(CommandIcon(def.icon));
    action->setIconVisibleInMenu(false);
    action->setEnabled(false);
    window->addAction(action);
    m_bindings[def.id].action = action;
  }
}

void CommandTable::Bind(int id, std::function<void()> handler, std::function<bool()> enabled,
                        std::function<bool()> checked) {
  Binding& binding = m_bindings[id];
  if (!binding.action) return;
  binding.enabled = std::move(enabled);
  binding.checked = std::move(checked);
  if (binding.checked) binding.action->setCheckable(true);
  binding.action->setEnabled(!binding.enabled || binding.enabled());
  QObject::connect(binding.action, &QAction::triggered, this, [this, id, handler] {
    // Shortcuts fire even when the rule changed since the last update: check it again.
    const Binding& current = m_bindings[id];
    if (current.enabled && !current.enabled()) return;
    handler();
    UpdateStates();
  });
}

QAction* CommandTable::Action(int id) const {
  const auto it = m_bindings.find(id);
  return it == m_bindings.end() ? nullptr : it->second.action;
}

void CommandTable::UpdateStates() {
  for (auto& [id, binding] : m_bindings) {
    (void)id;
    if (binding.enabled) binding.action->setEnabled(binding.enabled());
    if (binding.checked) binding.action->setChecked(binding.checked());
  }
}

QMenu* CommandTable::BuildMenu(const QString& title, const std::vector<int>& ids,
                               QWidget* parent) const {
  auto* menu = new QMenu(title, parent);
  AddToMenu(menu, ids);
  return menu;
}

void CommandTable::AddToMenu(QMenu* menu, const std::vector<int>& ids) const {
  for (const int id : ids) {
    if (id == 0) {
      menu->addSeparator();
    } else if (QAction* action = Action(id)) {
      menu->addAction(action);
    }
  }
}

}  // namespace pictavo::app
