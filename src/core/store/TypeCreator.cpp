// Type and creator codes kept as extended attributes.
//
// The codes only help other programs of the suite recognise mail files, so a
// file system that keeps no extended attributes is not an error.
#include "TypeCreator.h"

#include <cerrno>
#include <sys/xattr.h>

namespace wex {
namespace {

constexpr const char *TypeAttribute = "user.mac.type";
constexpr const char *CreatorAttribute = "user.mac.creator";

bool Unsupported(int error) { return error == ENOTSUP || error == EOPNOTSUPP; }

} // namespace

int SFCoSetTypeCreator(const QByteArray &path, const char type[4], const char creator[4])
{
    if (path.isEmpty() || !type || !creator)
        return EINVAL;
    if (::setxattr(path.constData(), TypeAttribute, type, 4, 0) != 0)
        return Unsupported(errno) ? 0 : errno;
    if (::setxattr(path.constData(), CreatorAttribute, creator, 4, 0) != 0)
        return Unsupported(errno) ? 0 : errno;
    return 0;
}

} // namespace wex
