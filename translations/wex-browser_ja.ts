<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>ContentsWindow</name>
    <message>
        <source>No Mail</source>
        <translation>メールなし</translation>
    </message>
    <message>
        <source>Mail text</source>
        <translation>メール本文</translation>
    </message>
</context>
<context>
    <name>FolderWindow</name>
    <message>
        <source>Folders</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Folder browser</source>
        <translation>フォルダブラウザ</translation>
    </message>
</context>
<context>
    <name>KeyWindow</name>
    <message>
        <source>Enter Key</source>
        <translation>キーの入力</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 を起動できませんでした。</translation>
    </message>
    <message>
        <source>No program to start.</source>
        <translation>起動するプログラムがありません。</translation>
    </message>
    <message>
        <source>%1 was not found at %2.</source>
        <translation>%1 が %2 に見つかりません。</translation>
    </message>
    <message>
        <source>%1 has no program to run.</source>
        <translation>%1 には実行するプログラムがありません。</translation>
    </message>
    <message>
        <source>%1 cannot be given the file %2.</source>
        <translation>%1 にファイル %2 を渡せません。</translation>
    </message>
    <message>
        <source>No file to open.</source>
        <translation>開くファイルがありません。</translation>
    </message>
    <message>
        <source>%1 was not found.</source>
        <translation>%1 が見つかりません。</translation>
    </message>
</context>
<context>
    <name>PreferencesWindow</name>
    <message>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <source>Download new mail at start-up</source>
        <translation>起動時に新着メールをダウンロード</translation>
    </message>
    <message>
        <source>Download new mail every</source>
        <translation>新着メールをダウンロードする間隔:</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>分ごと</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>キー</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>追加...</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>すべて削除</translation>
    </message>
    <message>
        <source>Fonts (click a language to choose its font)</source>
        <translation>フォント (言語をクリックしてフォントを選択)</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Keep what was read of each mail in a header cache (folders open faster)</source>
        <translation>各メールのヘッダをキャッシュに保存する (フォルダが速く開きます)</translation>
    </message>
    <message>
        <source>Notify New Mail</source>
        <translation>新着メールを通知</translation>
    </message>
    <message>
        <source>A desktop notice when a download brings new unread mail</source>
        <translation>受信で新しい未読メールが届いたらデスクトップに通知します</translation>
    </message>
    <message>
        <source>Minutes between downloads</source>
        <translation>ダウンロードの間隔（分）</translation>
    </message>
    <message>
        <source>Key bindings</source>
        <translation>キー割り当て</translation>
    </message>
    <message>
        <source>Fonts by language</source>
        <translation>言語ごとのフォント</translation>
    </message>
</context>
<context>
    <name>SelectCommandWindow</name>
    <message>
        <source>Select Command</source>
        <translation>コマンドの選択</translation>
    </message>
    <message>
        <source>Choose the command to bind a key to:</source>
        <translation>キーを割り当てるコマンドを選んでください:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>コマンド</translation>
    </message>
</context>
<context>
    <name>TitleWindow</name>
    <message>
        <source>Mails</source>
        <translation>メール一覧</translation>
    </message>
</context>
<context>
    <name>WEX</name>
    <message>
        <source>Print...</source>
        <translation>印刷...</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Next Mail</source>
        <translation>次のメール</translation>
    </message>
    <message>
        <source>Browse InBox</source>
        <translation>InBox を開く</translation>
    </message>
    <message>
        <source>Browse Draft</source>
        <translation>Draft を開く</translation>
    </message>
    <message>
        <source>Sort Folders by Name</source>
        <translation>フォルダを名前順に並べる</translation>
    </message>
    <message>
        <source>Sort Folders by Date</source>
        <translation>フォルダを更新日順に並べる</translation>
    </message>
    <message>
        <source>Bring All to Front</source>
        <translation>すべてを手前に移動</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>次のページ</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>前のページ</translation>
    </message>
    <message>
        <source>Next Line</source>
        <translation>次の行</translation>
    </message>
    <message>
        <source>Previous Line</source>
        <translation>前の行</translation>
    </message>
    <message>
        <source>Previous Mail</source>
        <translation>前のメール</translation>
    </message>
    <message>
        <source>Next Page Mail</source>
        <translation>次のページ・次のメール</translation>
    </message>
    <message>
        <source>Previous Page Mail</source>
        <translation>前のページ・前のメール</translation>
    </message>
    <message>
        <source>Unread Mail</source>
        <translation>未読メール</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>From</source>
        <translation>差出人</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>件名</translation>
    </message>
    <message>
        <source>neither a mail nor a folder</source>
        <translation>メールでもフォルダでもありません</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英語</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>韓国語</translation>
    </message>
    <message>
        <source>Chinese Traditional</source>
        <translation>中国語（繁体字）</translation>
    </message>
    <message>
        <source>Chinese Simplified</source>
        <translation>中国語（簡体字）</translation>
    </message>
    <message>
        <source>Western</source>
        <translation>西欧</translation>
    </message>
    <message>
        <source>Central European</source>
        <translation>中欧</translation>
    </message>
    <message>
        <source>South European</source>
        <translation>南欧</translation>
    </message>
    <message>
        <source>Baltic</source>
        <translation>バルト</translation>
    </message>
    <message>
        <source>Cyrillic</source>
        <translation>キリル</translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation>アラビア語</translation>
    </message>
    <message>
        <source>Greek</source>
        <translation>ギリシャ語</translation>
    </message>
    <message>
        <source>Hebrew</source>
        <translation>ヘブライ語</translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation>トルコ語</translation>
    </message>
    <message>
        <source>Nordic</source>
        <translation>北欧</translation>
    </message>
    <message>
        <source>Thai</source>
        <translation>タイ語</translation>
    </message>
    <message>
        <source>Celtic</source>
        <translation>ケルト</translation>
    </message>
    <message>
        <source>Without a command, WEX Browser opens its windows and shows PATH (a folder or a mail),
or the InBox. The commands print one line per mail: state, from, date, subject,
code number and path, separated by TABs. See wex-browser(1) for the details.</source>
        <translation>コマンドを指定しないと、WEX ブラウザはウィンドウを開いて PATH（フォルダまたはメール）
または InBox を表示します。コマンドはメール 1 通につき 1 行を出力します。状態、差出人、
日付、件名、コード番号、パスを TAB で区切ります。詳しくは wex-browser(1) を参照してください。</translation>
    </message>
    <message>
        <source>anonymous</source>
        <translation>差出人不明</translation>
    </message>
    <message>
        <source>No Subject</source>
        <translation>件名なし</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>環境設定...</translation>
    </message>
    <message>
        <source>Get Mail</source>
        <translation>メールを受信</translation>
    </message>
    <message>
        <source>Unread Mails</source>
        <translation>未読メール</translation>
    </message>
    <message>
        <source>Related Mails</source>
        <translation>関連メール</translation>
    </message>
    <message>
        <source>Reply</source>
        <translation>返信</translation>
    </message>
    <message>
        <source>New Mail</source>
        <translation>新規メール</translation>
    </message>
    <message>
        <source>Open in Mail Reader</source>
        <translation>メールリーダで開く</translation>
    </message>
    <message>
        <source>Open With Application</source>
        <translation>アプリケーションで開く</translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation>ファイルマネージャで表示</translation>
    </message>
    <message>
        <source>Mark Read</source>
        <translation>既読にする</translation>
    </message>
    <message>
        <source>Delete...</source>
        <translation>削除...</translation>
    </message>
    <message>
        <source>Print Selection...</source>
        <translation>選択部分をプリント...</translation>
    </message>
    <message>
        <source>Address Book</source>
        <translation>アドレス帳</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>ダウンロード中...</translation>
    </message>
    <message>
        <source>Mail downloaded: %1 unread mails now, %2 before</source>
        <translation>メールを受信しました: 未読 %1 通 (受信前 %2 通)</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>再表示</translation>
    </message>
    <message>
        <source>Move to Folder</source>
        <translation>フォルダへ移動</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>Not moved: the store folder is unknown, so %1 names no folder.</source>
        <translation>移動していません: メール保管フォルダが不明なため、%1 はフォルダを指しません。</translation>
    </message>
    <message>
        <source>Not moved: there is no folder %1.</source>
        <translation>移動していません: フォルダ %1 がありません。</translation>
    </message>
    <message>
        <source>Moving mails to %1: %2 of %3</source>
        <translation>%1 へメールを移動中: %3 通中 %2 通</translation>
    </message>
    <message>
        <source>Not moved: %1 (%2 to %3)</source>
        <translation>移動できませんでした: %1 (%2 → %3)</translation>
    </message>
    <message>
        <source>%1 mails not moved: %2 (the first: %3 to %4)</source>
        <translation>%1 通のメールを移動できませんでした: %2 (最初のメール: %3 → %4)</translation>
    </message>
    <message>
        <source>Nothing moved: the mails already lie in %1.</source>
        <translation>移動していません: メールはすでに %1 にあります。</translation>
    </message>
    <message>
        <source>Moved 1 mail to %1.</source>
        <translation>1 通のメールを %1 へ移動しました。</translation>
    </message>
    <message>
        <source>Moved %1 mails to %2.</source>
        <translation>%1 通のメールを %2 へ移動しました。</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>すべて削除</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Remove Move Destination</source>
        <translation>移動先の削除</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Enter Key for</source>
        <translation>キーを入力:</translation>
    </message>
    <message>
        <source>.</source>
        <translation>。</translation>
    </message>
    <message>
        <source>Add Current Folder</source>
        <translation>現在のフォルダを追加</translation>
    </message>
    <message>
        <source>Move to Folder...</source>
        <translation>フォルダへ移動...</translation>
    </message>
    <message>
        <source>Remove Destination...</source>
        <translation>移動先を削除...</translation>
    </message>
    <message>
        <source>Open WEX Relocate</source>
        <translation>WEX Relocate を開く</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>コマンド</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Caps</source>
        <translation>Caps</translation>
    </message>
    <message>
        <source>Opt</source>
        <translation>Opt</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>F</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>キー</translation>
    </message>
    <message>
        <source>Mail downloaded: %1 unread mails now</source>
        <translation>メールを受信しました: 未読 %1 通</translation>
    </message>
    <message>
        <source>Moved, but hidden debris was left: %1</source>
        <translation>移動しましたが、隠れた残骸が残りました: %1</translation>
    </message>
    <message>
        <source>The preferences were not saved: %1 (%2)</source>
        <translation>設定を保存できませんでした: %1 (%2)</translation>
    </message>
    <message>
        <source>The preferences could not be read: %1 (%2). They start from their defaults and the file is left as it is.</source>
        <translation>設定を読み込めませんでした: %1 (%2)。既定の設定で始め、ファイルはそのまま残します。</translation>
    </message>
    <message>
        <source>The preferences file was damaged and starts afresh; the old file was kept as %1.</source>
        <translation>設定ファイルが壊れていたため、新しく始めます。古いファイルは %1 として残しました。</translation>
    </message>
    <message>
        <source>Find in Store...</source>
        <translation>保管庫を検索...</translation>
    </message>
    <message>
        <source>Filter Mails</source>
        <translation>メールを絞り込む</translation>
    </message>
    <message>
        <source>Filter by sender or subject (Ctrl+F)</source>
        <translation>差出人か件名で絞り込む (Ctrl+F)</translation>
    </message>
    <message>
        <source>Filter mails</source>
        <translation>メールの絞り込み</translation>
    </message>
    <message>
        <source>%1 of %2 mails</source>
        <translation>%2 通中 %1 通</translation>
    </message>
    <message>
        <source>1 new mail</source>
        <translation>新着メール 1 通</translation>
    </message>
    <message>
        <source>%1 new mails</source>
        <translation>新着メール %1 通</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ほか %1 通</translation>
    </message>
    <message>
        <source>Show InBox</source>
        <translation>InBox を表示</translation>
    </message>
    <message>
        <source>New mail is not announced on the desktop: no notification service (%1)</source>
        <translation>新着メールをデスクトップに通知できません: 通知サービスがありません (%1)</translation>
    </message>
    <message>
        <source>Move destinations</source>
        <translation>移動先</translation>
    </message>
    <message>
        <source>%1, %2 unread</source>
        <translation>%1、未読 %2 件</translation>
    </message>
    <message>
        <source>%1, no unread mail</source>
        <translation>%1、未読なし</translation>
    </message>
    <message>
        <source>Folders in %1</source>
        <translation>%1 のフォルダ</translation>
    </message>
    <message>
        <source>unread</source>
        <translation>未読</translation>
    </message>
    <message>
        <source>read</source>
        <translation>既読</translation>
    </message>
    <message>
        <source>replied</source>
        <translation>返信済み</translation>
    </message>
    <message>
        <source>error mail</source>
        <translation>エラーメール</translation>
    </message>
    <message>
        <source>waiting to be sent</source>
        <translation>送信待ち</translation>
    </message>
    <message>
        <source>with attachments</source>
        <translation>添付ファイルあり</translation>
    </message>
    <message>
        <source>in HTML</source>
        <translation>HTML</translation>
    </message>
    <message>
        <source>without main text</source>
        <translation>本文なし</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>to %1</source>
        <translation>宛先 %1</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>差出人 %1</translation>
    </message>
    <message>
        <source>The journal was damaged and starts afresh; the old file was kept as %1.</source>
        <translation>操作記録が壊れていたため新しく始めます。古いファイルは %1 として残しました。</translation>
    </message>
    <message>
        <source>Cannot open the journal %1: %2</source>
        <translation>操作記録 %1 を開けません: %2</translation>
    </message>
    <message>
        <source>Cannot keep the damaged journal %1 aside</source>
        <translation>壊れた操作記録 %1 を退避できません</translation>
    </message>
    <message>
        <source>Cannot write the journal %1: %2</source>
        <translation>操作記録 %1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Cannot rewrite the journal %1: %2</source>
        <translation>操作記録 %1 を書き直せません: %2</translation>
    </message>
    <message>
        <source>Finished moving %1 to %2</source>
        <translation>%1 から %2 への移動を完了しました</translation>
    </message>
    <message>
        <source>Removed the incomplete copy %1</source>
        <translation>不完全なコピー %1 を削除しました</translation>
    </message>
</context>
<context>
    <name>wex::AppController</name>
    <message>
        <source>no settings folder: neither %1 nor %2 exists</source>
        <translation>設定フォルダがありません: %1 も %2 もありません</translation>
    </message>
    <message>
        <source>Cannot open: %1 (%2)</source>
        <translation>開けません: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>wex::LoadProgress</name>
    <message>
        <source>Listing the folder…</source>
        <translation>フォルダを読み込んでいます…</translation>
    </message>
    <message>
        <source>Reading mails: %1 of %2</source>
        <translation>メールを読み込み中: %1 / %2</translation>
    </message>
    <message>
        <source>Reading mails</source>
        <translation>メールを読み込み中</translation>
    </message>
</context>
<context>
    <name>wex::MailCommands</name>
    <message>
        <source>Not marked replied: %1 (%2)</source>
        <translation>返信済みにできませんでした: %1 (%2)</translation>
    </message>
    <message>
        <source>No mail reader: &quot;%1&quot; in the settings folder is missing or cannot be resolved.</source>
        <translation>メールリーダがありません: 設定フォルダの &quot;%1&quot; がないか、解決できません。</translation>
    </message>
    <message>
        <source>Delete Mails</source>
        <translation>メールの削除</translation>
    </message>
    <message>
        <source>Delete 1 mail?</source>
        <translation>1 通のメールを削除しますか?</translation>
    </message>
    <message>
        <source>Delete %1 mails?</source>
        <translation>%1 通のメールを削除しますか?</translation>
    </message>
    <message>
        <source>Deleted mails are removed from the store for good.</source>
        <translation>削除したメールは保管フォルダから完全に消えます。</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Not deleted: %1 (%2)</source>
        <translation>削除できませんでした: %1 (%2)</translation>
    </message>
    <message>
        <source>%1 mails were not deleted. %2</source>
        <translation>%1 通のメールを削除できませんでした。%2</translation>
    </message>
    <message>
        <source>Not marked read: %1 (%2)</source>
        <translation>既読にできませんでした: %1 (%2)</translation>
    </message>
    <message>
        <source>%1 mails were not marked read. %2</source>
        <translation>%1 通のメールを既読にできませんでした。%2</translation>
    </message>
    <message>
        <source>Print Selection</source>
        <translation>選択部分のプリント</translation>
    </message>
    <message>
        <source>Not deleted: the mail is no longer in the list (%1)</source>
        <translation>削除できませんでした: 一覧にもうありません (%1)</translation>
    </message>
    <message>
        <source>Deleted, but hidden debris was left: %1</source>
        <translation>削除しましたが、隠れた残骸が残りました: %1</translation>
    </message>
    <message>
        <source>%1 Mail &gt; Find in Store... searches the store without it.</source>
        <translation>%1 メール &gt; 保管庫を検索... ならこのプログラムなしで検索できます。</translation>
    </message>
</context>
<context>
    <name>wex::MailContents</name>
    <message>
        <source>No Mail</source>
        <translation>メールなし</translation>
    </message>
    <message>
        <source>This mail could not be read</source>
        <translation>このメールを読み込めませんでした</translation>
    </message>
    <message>
        <source>This mail is too large to show</source>
        <translation>このメールは大きすぎて表示できません</translation>
    </message>
    <message>
        <source>This mail is not valid %1 text</source>
        <translation>このメールは正しい %1 のテキストではありません</translation>
    </message>
    <message>
        <source>unknown coding</source>
        <translation>不明な文字コード</translation>
    </message>
</context>
<context>
    <name>wex::MailTitles</name>
    <message>
        <source>Cannot list the folder: %1 (%2)</source>
        <translation>フォルダを読み込めません: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>wex::MenuController</name>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>メール</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>ウィンドウ</translation>
    </message>
</context>
<context>
    <name>wex::Preferences</name>
    <message>
        <source>Turned off by WEX_NO_CACHE in the environment</source>
        <translation>環境変数 WEX_NO_CACHE により無効になっています</translation>
    </message>
</context>
<context>
    <name>wex::StoreFind</name>
    <message>
        <source>Find in Store</source>
        <translation>保管庫を検索</translation>
    </message>
    <message>
        <source>Words to find (from: subject: body: date: state:):</source>
        <translation>検索する語 (from: subject: body: date: state:):</translation>
    </message>
    <message>
        <source>Cannot search: %1</source>
        <translation>検索できません: %1</translation>
    </message>
    <message>
        <source>Searching the store, reading every mail&apos;s text: %1 folders</source>
        <translation>保管庫を検索中 (全メールの本文を読んでいます): %1 フォルダ</translation>
    </message>
    <message>
        <source>Searching the store: %1 folders</source>
        <translation>保管庫を検索中: %1 フォルダ</translation>
    </message>
    <message>
        <source>Find: %1</source>
        <translation>検索: %1</translation>
    </message>
    <message>
        <source>Mails found: %1</source>
        <translation>見つかったメール: %1 通</translation>
    </message>
</context>
<context>
    <name>wex::UndoCommands</name>
    <message>
        <source>Move to %1</source>
        <translation>「%1」への移動</translation>
    </message>
    <message>
        <source>Move of %1 Mails to %2</source>
        <translation>%1通のメールの「%2」への移動</translation>
    </message>
    <message>
        <source>Mark Replied</source>
        <translation>返信済みの印</translation>
    </message>
    <message>
        <source>Mark Read</source>
        <translation>既読にする</translation>
    </message>
    <message>
        <source>Mark Read of %1 Mails</source>
        <translation>%1通のメールを既読にする</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>取り消す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>取り消す: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>やり直す: %1</translation>
    </message>
    <message>
        <source>Nothing to undo (a deleted mail cannot be brought back)</source>
        <translation>取り消せる操作はありません（削除したメールは元に戻せません）</translation>
    </message>
    <message>
        <source>Nothing to redo</source>
        <translation>やり直せる操作はありません</translation>
    </message>
    <message>
        <source>Left as it is (changed since): %1</source>
        <translation>その後変更されたため、そのままにしました: %1</translation>
    </message>
</context>
</TS>
