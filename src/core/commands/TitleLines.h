#pragma once
// The output lines of the headless commands, one per title, six TAB-separated
// fields:
//   state, from, date ("YYYY-MM-DD HH:MM:SS +HHMM", "" when empty), subject,
//   code number, path
// with "\\", "\t", "\n", "\r" escaped in from, subject and path.
#include "Title.h"
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace wex {

// One output line, without the line feed.
QByteArray FormatTitleLine(const Title &title);
// The bytes with the same escapes, for naming a path in a message.
QByteArray EscapeLineBytes(QByteArrayView bytes);
// Writes one line per title and flushes out; false when a write failed
// (errno then says why).
bool WriteTitleLines(const TitleArray &titles, FILE *out);
// The same for titles[order[0]], titles[order[1]], ... (each index below
// titles.size()): a sorted listing written without moving the titles.
bool WriteTitleLines(const TitleArray &titles, const std::vector<uint32_t> &order, FILE *out);

} // namespace wex
