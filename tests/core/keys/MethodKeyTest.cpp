#include "MethodKey.h"

#include <QHash>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace wex;

TEST(MethodKey, StoredFormsDifferInEveryBit)
{
    const MethodKey plain("n", 0);
    const MethodKey option("n", mod::Alternate);
    const MethodKey caps("n", mod::CapsLock);
    const MethodKey device("n", 0x1);         // device-dependent low bits count too
    const MethodKey command("n", mod::Command);
    EXPECT_EQ(plain.makeKey(), MethodKey("n", 0).makeKey());
    QHash<StoredKey, int> table;
    for (const MethodKey &k : {plain, option, caps, device, command})
        table.insert(k.makeKey(), table.size());
    EXPECT_EQ(table.size(), 5);
    EXPECT_NE(plain.makeKey(), MethodKey("N", 0).makeKey());
    EXPECT_EQ(table.value(MethodKey("n", mod::Alternate).makeKey()), 1);
}

TEST(MethodKey, CopiesAndStoredFormRoundTrip)
{
    const MethodKey original(QString(QChar(0xF701)), mod::Function | mod::NumericPad | mod::Shift | 0x102);
    const MethodKey copy = original;
    EXPECT_EQ(copy.makeKey(), original.makeKey());
    const auto rebuilt = MethodKey::fromArray(original.toArray());
    ASSERT_TRUE(rebuilt.has_value());
    EXPECT_EQ(rebuilt->makeKey(), original.makeKey());
    EXPECT_EQ(MethodKey(original.makeKey()).makeKey(), original.makeKey());
    // The highest word survives the stored form.
    const MethodKey top("x", 0xFFFFFFFFu);
    EXPECT_EQ(MethodKey::fromArray(top.toArray())->modifierFlags(), 0xFFFFFFFFu);
}

TEST(MethodKey, FromArrayRejectsDamage)
{
    const QJsonArray bad[] = {
        {},
        {QStringLiteral("n")},
        {1, 0},
        {QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("n"), -1},
        {QStringLiteral("n"), 4294967296.0},
        {QStringLiteral("n"), 1.5},
        {QStringLiteral("n"), true},
    };
    for (const QJsonArray &a : bad)
        EXPECT_FALSE(MethodKey::fromArray(a).has_value()) << QJsonDocument(a).toJson(QJsonDocument::Compact).constData();
    // Extra elements (the command of a stored binding) are allowed.
    const auto ok = MethodKey::fromArray({QStringLiteral("n"), 524288, QStringLiteral("nextMail")});
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->characters(), QStringLiteral("n"));
    EXPECT_EQ(ok->modifierFlags(), mod::Alternate);
}

TEST(MethodKey, LabelsPerModifier)
{
    const MethodKey all("a", mod::CapsLock | mod::Shift | mod::Control | mod::Alternate | mod::Function);
    EXPECT_EQ(all.capsLockString(), QStringLiteral("Caps+"));
    EXPECT_EQ(all.shiftString(), QStringLiteral("Shift+"));
    EXPECT_EQ(all.controlString(), QStringLiteral("Ctrl+"));
    EXPECT_EQ(all.optionString(), QStringLiteral("Opt+"));
    EXPECT_EQ(all.functionString(), QStringLiteral("F+"));

    // Command, keypad and device bits have no label.
    const MethodKey command("a", mod::Command | mod::NumericPad | 0xFFFF);
    for (const char *id : {"shiftString", "capsLockString", "optionString", "controlString", "functionString"}) {
        EXPECT_TRUE(command.valueForIdentifier(QString::fromLatin1(id)).isEmpty()) << id;
        EXPECT_EQ(all.valueForIdentifier(QString::fromLatin1(id)).isEmpty(), false) << id;
    }
    EXPECT_EQ(MethodKey("n", mod::Alternate).valueForIdentifier("optionString"), QStringLiteral("Opt+"));
    EXPECT_EQ(MethodKey("n", mod::Alternate).valueForIdentifier("keyString"), QStringLiteral("n"));
    EXPECT_TRUE(all.valueForIdentifier("noSuchColumn").isEmpty());
}

TEST(MethodKey, KeyNames)
{
    struct Case { QString characters; const char *name; } cases[] = {
        {QStringLiteral(" "), "Space"},
        {QStringLiteral("\r"), "Return"},
        {QString(QChar(0xF700)), "UpArrow"},
        {QString(QChar(0xF701)), "DownArrow"},
        {QString(QChar(0xF702)), "LeftArrow"},
        {QString(QChar(0xF703)), "RightArrow"},
        {QString(QChar(0xF704)), "F1"},
        {QString(QChar(0xF70D)), "F10"},
        {QString(QChar(0xF70F)), "F12"},
        {QStringLiteral("n"), "n"},
        {QStringLiteral("\t"), "\t"},
        {QStringLiteral("  "), "  "},
        {QString(), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MethodKey(c.characters, 0).keyString(), QString::fromLatin1(c.name)) << c.name;
    const QString f13(QChar(0xF710));
    EXPECT_EQ(MethodKey(f13, mod::Function).keyString(), f13);
}
