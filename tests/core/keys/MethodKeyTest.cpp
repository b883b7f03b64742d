#include "MethodKey.h"
#include "CoreTest.h"

#include <QHash>
#include <QJsonDocument>

// Two presses are one key only when characters and every modifier bit agree.
TEST(MethodKey, StoredFormsDifferInEveryBitRoundTripAndRefuseDamage)
{
    QHash<StoredKey, int> table;
    for (uint32_t flags : {0u, mod::Alternate, mod::CapsLock, 0x1u, mod::Command})
        table.insert(MethodKey("n", flags).makeKey(), table.size());
    EXPECT_EQ(table.size(), 5);
    EXPECT_EQ(table.value(MethodKey("n", mod::Alternate).makeKey()), 1);
    EXPECT_NE(MethodKey("n", 0).makeKey(), MethodKey("N", 0).makeKey());

    for (const MethodKey &k : {MethodKey(QString(QChar(0xF701)), mod::Function | mod::Shift | 0x102),
                               MethodKey("x", 0xFFFFFFFFu)}) {
        const auto rebuilt = MethodKey::fromArray(k.toArray());
        ASSERT_TRUE(rebuilt.has_value());
        EXPECT_EQ(rebuilt->makeKey(), k.makeKey());
    }
    // Damaged stored forms are refused.
    const QJsonArray bad[] = {
        {}, {QStringLiteral("n")}, {1, 0}, {QStringLiteral("n"), QStringLiteral("0")}, {QStringLiteral("n"), -1},
        {QStringLiteral("n"), 4294967296.0}, {QStringLiteral("n"), 1.5}, {QStringLiteral("n"), true},
    };
    for (const QJsonArray &a : bad)
        EXPECT_FALSE(MethodKey::fromArray(a).has_value()) << QJsonDocument(a).toJson(QJsonDocument::Compact).constData();
    // Extra elements (the command of a stored binding) are allowed.
    const auto ok = MethodKey::fromArray({QStringLiteral("n"), 524288, QStringLiteral("nextMail")});
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->makeKey(), MethodKey("n", mod::Alternate).makeKey());
}

