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

// Runs check where permissions bind (as root: in a child that gave root up).
#define UNPRIVILEGED(...)                                                                                              \
    if (!RunUnprivileged(__VA_ARGS__))                                                                                 \
    WEX_SKIP_UNLESS_CI("cannot run a check as an unprivileged user here")
