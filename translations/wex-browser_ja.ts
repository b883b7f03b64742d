<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>ContentsWindow</name>
    <message>
        <source>No Mail</source>
        <translation>メールなし</translation>
    </message>
</context>
<context>
    <name>FolderWindow</name>
    <message>
        <source>Folders</source>
        <translation>フォルダ</translation>
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
        <source>Move</source>
        <translation>移動</translation>
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
        <source>Refresh</source>
        <translation>再読み込み</translation>
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
        <translation>移動していません: 保存フォルダが不明なため、%1 はどのフォルダも指しません。</translation>
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
        <source>Not moved to %1: %2: %3</source>
        <translation>%1 へ移動していません: %2: %3</translation>
    </message>
    <message>
        <source>%1 mails not moved to %2; the first: %3: %4</source>
        <translation>%1 通のメールを %2 へ移動できませんでした。最初の 1 通: %3: %4</translation>
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
</context>
<context>
    <name>wex::AppController</name>
    <message>
        <source>no settings folder: neither %1 nor %2 exists</source>
        <translation>設定フォルダがありません: %1 も %2 もありません</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 を開けません: %2</translation>
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
</TS>
