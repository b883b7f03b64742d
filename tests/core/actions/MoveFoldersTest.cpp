// Stored move destinations that are not text are passed over: no folder named "".
#include "DefaultsStore.h"
#include "CoreTest.h"
#include "MoveFolders.h"

#include <QJsonArray>

TEST(MoveFolders, EntriesOtherThanTextArePassedOver)
{
    const TestDir dir;
    DefaultsStore defaults(dir.pathString() + QStringLiteral("/defaults.json"));
    defaults.setArray(QStringLiteral("Move Folder"),
                      QJsonArray{QStringLiteral("Archive"), 3, QJsonValue(), QJsonArray{}, QStringLiteral("/abs/Old")});
    EXPECT_EQ(LoadMoveFolders(defaults), (QStringList{QStringLiteral("Archive"), QStringLiteral("/abs/Old")}));
}

