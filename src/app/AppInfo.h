#pragma once
// Names under which the application presents itself to the desktop.
namespace wex {
void SetupApplicationInfo();
}
