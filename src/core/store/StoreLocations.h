#pragma once
// Where the settings folder and the mail store root are.
//
// The three store paths are process-wide: they start empty, are filled by the
// first successful SetWEXPath() and never change afterwards. An empty value
// means "not found yet". Paths are kept as file-system bytes (no fixed-size
// buffers), so a long home path can never overrun anything.
#include <QByteArray>
#include <QString>

namespace wex {

// Absolute path of the settings folder, always ending in "/"; empty until found.
const QByteArray &wexSettingPath();
// Absolute path of the store root (no trailing slash); empty when unresolved.
const QByteArray &wexRootPath();
// wexRootPath() decoded as UTF-8.
const QString &wexRootPathString();

// 0 when the settings folder ("$HOME/Library/Preferences/WEX_Preferences/", else
// the ".localized" variant) exists; -1 otherwise (and the path stays empty, so a
// later call searches again).
int SetWEXSettingPath();
// 0 when the store paths are set (the root may still be empty when "WEX_Root"
// cannot be resolved); -1 when there is no settings folder.
int SetWEXPath();

// Forgets the three paths so the next call searches again. For tests and for a
// process that deliberately re-reads $HOME; nothing in the application calls it.
void ResetWEXPaths();

} // namespace wex
