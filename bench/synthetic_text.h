#pragma once
// Word material for the synthetic mail store of the scan benchmark. All text
// is UTF-8 here; the generator converts it into each mail's charset. Japanese
// text keeps to JIS X 0208 so ISO-2022-JP, Shift_JIS and EUC-JP can carry it;
// the Western text keeps to ISO-8859-1.
#include <array>
#include <string_view>

namespace bench {

inline constexpr std::array<std::string_view, 16> kJapaneseNames = {
    "田中 一郎", "鈴木 花子", "山本 健", "中村 美穂", "小林 陽子", "加藤 智子",
    "伊藤 直樹", "渡辺 陽介", "高橋 誠", "森 大輔", "岡田 修", "石井 亮",
    "清水 翔太", "前田 彩", "松本 聡", "佐藤 美咲"};

inline constexpr std::array<std::string_view, 14> kWesternNames = {
    "Olivia Bennett", "Peter Novak", "Jürgen Müller", "Élodie Fournier",
    "Grace Liu", "Jonas Weber", "Ana Souza", "Lucas Martin", "Priya Raman",
    "Søren Nielsen", "Chloé Dubois", "Hans Groß", "Inés García", "Tom Walker"};

inline constexpr std::array<std::string_view, 12> kDomains = {
    "jp.example.org", "jp.example.org", "jp.example.org", "jp.example.org",
    "example.org", "example.org", "de.example.org", "fr.example.org",
    "example.co.uk", "lists.jp.example.org", "example.org", "jp.example.org"};

inline constexpr std::array<std::string_view, 16> kJapaneseSubjects = {
    "会議の日程について", "見積書の件", "忘年会のお知らせ", "資料を送ります",
    "来週の打ち合わせ", "Re: 議事録の確認", "勉強会の発表者募集", "出張報告",
    "サーバ保守のお知らせ", "Re: Re: 旅行の計画", "新年会の場所", "写真を共有しました",
    "読書会の課題本", "アンケートのお願い", "年末年始の休業日", "Fwd: 講演会のご案内"};

inline constexpr std::array<std::string_view, 16> kEnglishSubjects = {
    "Meeting notes from Tuesday", "Re: Build failure on the CI machine",
    "Train times for the workshop", "Slides from the user group talk",
    "Quarterly report draft", "Re: Re: Holiday plans",
    "Invitation: design review", "Your order has shipped",
    "Weekly test report", "Re: Question about the patch",
    "Mirror maintenance on Saturday", "Photos from the trip",
    "Fwd: Conference schedule", "Reminder: dentist appointment",
    "Lunch on Friday?", "Release checklist"};

inline constexpr std::array<std::string_view, 12> kWesternSubjects = {
    "Grüße aus München", "Réunion de lundi : ordre du jour", "Bonne année !",
    "Fotos da viagem", "Einladung zum Sommerfest", "Re: Question à propos du devis",
    "Lettre d'information d'octobre", "Termin für nächste Woche",
    "Le programme du séminaire", "Glühwein am Samstag?", "Re: Réservation confirmée",
    "Ausflug an den See"};

inline constexpr std::array<std::string_view, 24> kJapaneseSentences = {
    "いつもお世話になっております。",
    "先日の打ち合わせでは、貴重なご意見をいただきありがとうございました。",
    "資料を添付しましたので、お手すきの際にご確認ください。",
    "来週の会議は三階の第二会議室で行います。",
    "ご不明な点がございましたら、お気軽にお問い合わせください。",
    "今年の忘年会は十二月十八日に決まりました。",
    "紅葉がちょうど見頃で、頂上からは富士山もきれいに見えました。",
    "新しいサーバへの移行は週末に予定しています。",
    "作業中は一時的にメールが届かなくなる場合があります。",
    "引き続きよろしくお願いいたします。",
    "議事録の修正点を赤字で示しました。",
    "出張の報告書は金曜日までに提出してください。",
    "勉強会では、パッケージ作成の基本を説明する予定です。",
    "参加をご希望の方は、このメールに返信してください。",
    "写真をアルバムにまとめましたので、ご覧ください。",
    "駅から会場までは歩いて十分ほどです。",
    "天気が悪い場合は翌週に延期します。",
    "見積書の金額に誤りがありましたので、訂正版をお送りします。",
    "次回の読書会の課題本は夏目漱石の草枕です。",
    "年末年始の休業期間中は、緊急の連絡のみ受け付けます。",
    "テストの結果はすべて合格でした。",
    "詳しい手順は下記のとおりです。",
    "よい週末をお過ごしください。",
    "どうぞよろしくお願い申し上げます。"};

inline constexpr std::array<std::string_view, 24> kEnglishSentences = {
    "Thanks for the quick reply yesterday.",
    "I have attached the notes from our meeting on Tuesday.",
    "The build is green again after the fix to the date parser.",
    "Please review the patch before Friday if you can.",
    "The workshop venue is a ten-minute walk from the station.",
    "We will keep a seat for you near the door.",
    "The mirror will be down for disk replacement on Saturday morning.",
    "During that window please point your sources at another mirror.",
    "Let me know which of the three dates works best for you.",
    "The recording should be online by the end of the week.",
    "I printed the recipe and stuck it on the fridge.",
    "Our next meetup takes place at the community hall.",
    "Lightning talks are five minutes each; sign up at the door.",
    "The quarterly numbers look better than we expected.",
    "Nothing needs to change on your side afterwards.",
    "Could you send me the slides when you have a moment?",
    "The train leaves at ten past eight and arrives just after noon.",
    "All test cases passed on both presets this week.",
    "The slowest suite is still the folder scan test.",
    "Please keep new tests under a second each.",
    "I will be out of the office until Monday.",
    "See you at the meeting next week.",
    "Best regards, and thanks again for your help.",
    "Have a great weekend!"};

inline constexpr std::array<std::string_view, 20> kWesternSentences = {
    "Vielen Dank für deine schnelle Antwort.",
    "Der Christkindlmarkt am Marienplatz hat letzte Woche eröffnet.",
    "Kommst du über Weihnachten nach München?",
    "Die Unterlagen für die Besprechung findest du im Anhang.",
    "Bitte gib mir bis Freitag Bescheid, ob der Termin passt.",
    "Viele Grüße aus dem verschneiten Süden.",
    "Merci pour ta réponse rapide.",
    "L'exposition fermera ses portes le quinze novembre.",
    "Les visites guidées du jeudi soir affichent déjà complet.",
    "Le catalogue est désormais disponible à la boutique.",
    "Je te souhaite une très belle année, pleine de santé.",
    "À très bientôt, et bonne fin de semaine !",
    "Voltei do Japão ontem e a viagem foi incrível.",
    "Vou organizar as fotos e te mando o link até domingo.",
    "La réunion de lundi commencera à neuf heures précises.",
    "Das Sommerfest findet dieses Jahr am See statt.",
    "Ich bringe Kuchen und Getränke mit.",
    "Nous avons réservé une salle pour quarante personnes.",
    "Bis bald und schöne Grüße an die Familie.",
    "Grosses bises à toute l'équipe."};

} // namespace bench
