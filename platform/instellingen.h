// What the program remembers for its user between sessions: the folders
// last used and the review screen's vertical scale, in Zarvo-Edit.ini in
// the user's settings folder (%APPDATA%\Zarvo-Edit on Windows,
// ~/.config/Zarvo-Edit on Linux). A value that is missing or no longer usable is simply not there:
// nothing here can keep the program from starting.
#pragma once

#include <QString>
#include <optional>

namespace zarvo::gui {

// The folder last used for 'waarvoor' ("invoer", "opslaan", "afbeeldingen"),
// if it still exists; empty otherwise.
QString onthoudenMap(const QString& waarvoor);
void onthoudMap(const QString& waarvoor, const QString& map);

std::optional<int> onthoudenGetal(const QString& naam);
void onthoudGetal(const QString& naam, int waarde);

}  // namespace zarvo::gui
