#pragma once
// What nearly every core test uses: GoogleTest, scratch stores, POSIX calls, both namespaces.
#include "TestStore.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace wex;
using namespace wex::test;
