// The stored move destinations: entries of another type than text are passed
// over, so a damaged or hand-edited preferences file names no folder "".
#include "DefaultsStore.h"
#include "MoveFolders.h"
#include "TestStore.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace wex::test {
namespace {

TEST(MoveFolders, EntriesOtherThanTextArePassedOver)
{
    const TestDir dir;
    DefaultsStore defaults(dir.pathString() + QStringLiteral("/defaults.json"));
    defaults.setArray(QStringLiteral("Move Folder"),
                      QJsonArray{QStringLiteral("Archive"), 3, QJsonValue(), QJsonArray{}, QStringLiteral("/abs/Old")});
    EXPECT_EQ(LoadMoveFolders(defaults), (QStringList{QStringLiteral("Archive"), QStringLiteral("/abs/Old")}));
}

} // namespace
} // namespace wex::test
