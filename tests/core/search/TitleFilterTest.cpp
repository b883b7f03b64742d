// The quick filter: which rows it lets through, and that hidden rows come
// back whole and in order.
#include "FoldedText.h"
#include "TitleFilter.h"

#include <gtest/gtest.h>

using namespace wex;

namespace {

TitleArray Mails(const std::vector<std::pair<const char *, const char *>> &fromSubject)
{
    TitleArray titles;
    int day = 1;
    for (const auto &[from, subject] : fromSubject) {
        Title t;
        t.setFrom(QString::fromUtf8(from));
        t.setSubject(QString::fromUtf8(subject));
        t.setDate(MailDate::fromFields(2026, 12, day++, 10, 0, 0, 0));
        titles.push_back(std::move(t));
    }
    return titles;
}

QStringList Subjects(const TitleArray &titles)
{
    QStringList out;
    for (const Title &t : titles)
        out << t.subject();
    return out;
}

} // namespace

TEST(TitleFilter, EveryWordMustBeInTheSenderOrSubjectFoldedForWidthAndCase)
{
    const TitleArray mails = Mails({{"WEX Team", "Release notes"}, {"佐藤花子", "テストの結果"},
                                    {"Ｓａｔｏ", "Été à Kyoto"}, {"bob", "lunch"}});
    const struct {
        const char *words;
        QStringList subjects;
    } cases[] = {
        {"ｗｅｘ", {"Release notes"}},             // full-width typed, ASCII stored
        {"ﾃｽﾄ", {"テストの結果"}},                  // half-width katakana typed
        {"sato", {"Été à Kyoto"}},                 // full-width stored
        {"été", {"Été à Kyoto"}},                  // case beyond ASCII
        {"wex notes", {"Release notes"}},          // one word in each field
        {"wex lunch", {}},                         // every word must match
        {"  ", {"Release notes", "テストの結果", "Été à Kyoto", "lunch"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.words);
        TitleFilter filter;
        const TitleArray shown = filter.setText(QString::fromUtf8(c.words), mails, TitleKey::Date, false);
        EXPECT_EQ(Subjects(shown), c.subjects);
        EXPECT_EQ(shown.size() + filter.hiddenCount(), mails.size());
    }
}

TEST(TitleFilter, HiddenRowsComeBackInTheListsOrderAndANewListReplacesThem)
{
    TitleFilter filter;
    TitleArray shown = Mails({{"a", "one x"}, {"b", "two"}, {"c", "three x"}, {"d", "four xy"}});
    shown = filter.setText(QStringLiteral("x"), std::move(shown), TitleKey::Date, false);
    shown = filter.setText(QStringLiteral("xy"), std::move(shown), TitleKey::Date, false); // narrows
    EXPECT_EQ(Subjects(shown), QStringList{"four xy"});
    shown = filter.setText(QString(), std::move(shown), TitleKey::Date, false);
    EXPECT_EQ(Subjects(shown), (QStringList{"one x", "two", "three x", "four xy"}));
    EXPECT_EQ(filter.hiddenCount(), 0u);

    filter.setText(QStringLiteral("two"), TitleArray(), TitleKey::Date, false);
    TitleArray released;
    shown = filter.split(Mails({{"e", "two"}, {"f", "six"}}), &released);
    EXPECT_EQ(Subjects(shown), QStringList{"two"});
    EXPECT_EQ(Subjects(filter.hidden()), QStringList{"six"});
}

// The fast fold must agree with the full one: on every character alone, and
// where a neighbour changes a character (composition, conjoining jamo,
// two-part vowel signs, compatibility jamo, surrogate pairs).
TEST(FoldedText, AgreesWithTheFullFold)
{
    QStringList texts;
    for (char32_t u = 1; u < 0x10000; ++u)
        texts << QString(QChar(char16_t(u)));
    texts << QString::fromUtf8("か\u3099") << QString::fromUtf8("\u1100\u1161\u11A8") << QString::fromUtf8("\u0DD9\u0DCF")
          << QString::fromUtf8("ㄱㅏ") << QString::fromUtf8("e\u0301X") << QString::fromUtf8("𝐀bc") << QString::fromUtf8("Ｓａｔｏ ﾃｽﾄ");
    for (const QString &text : texts) {
        const QString full = FoldForSearch(text);
        if (FoldedText(text).view() != full)
            ADD_FAILURE() << "U+" << std::hex << unsigned(text.at(0).unicode()) << " " << text.toStdString();
    }
}
